// The commands of km207: one table that the option parser, the help and the
// dispatch all read. A command or subject not in it is refused before
// anything is sent.
#pragma once

#include "session.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace km207 {

struct Command {
    const char* name;
    // Words after the command, and what its usage line adds after the
    // subjects: "set address|baud|... HODNOTA".
    int minOperands;
    int maxOperands;
    const char* usageTail;
    std::vector<Subject> subjects; // empty: the command takes no subject
    // The link opens with the identification (three commands 200), as the
    // connection dialog opens it; scan opens it without.
    bool identify;
    int (Session::*run)();
    const char* help; // UTF-8, without the exit codes
};

const std::vector<Command>& commands();
// Nothing for a name not in the table.
const Command* findCommand(const QString& name);
const Subject* findSubject(const Command& command, const QString& name);
QStringList subjectNames(const Command& command);
// "get address|baud|...", "backup SOUBOR".
QString usageForm(const Command& command);
// The usage line's words after the subjects, in the chosen language.
QString usageTail(const Command& command);

} // namespace km207
