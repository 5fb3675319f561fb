// The commands of km207: one table that the option parser, the help and the
// dispatch all read. A command or subject not in it is refused before
// anything is sent.
#pragma once

#include <QString>
#include <QStringList>

#include <vector>

namespace km207 {

class Session;
struct Reading;

// A subject of a command ("get counter", "set address").
struct Subject {
    const char* name;
    // get and watch: one reading. powerFailureRead says whether the clock's
    // power failure was read already (the clock view reads it once).
    Reading (Session::*read)(bool& powerFailureRead) = nullptr;
    // set, clear and watch trend: all of it, from the check of the value on.
    int (Session::*run)() = nullptr;
    // set: how many words may follow the subject.
    int maxValues = 0;
    // watch: the view's period in ms, and whether it runs from the end of a
    // reading (the counter view stops its timer while it waits) or from its
    // start.
    int watchPeriod = 0;
    bool periodFromEnd = false;
};

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

} // namespace km207
