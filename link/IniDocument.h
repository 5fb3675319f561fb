// Line-preserving INI document: comments, blank lines, unknown sections and
// keys survive a write. Section and key names compare without regard to case.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class IniDocument {
  public:
    IniDocument() = default;
    explicit IniDocument(const QString& text);

    // Value of the first key of that name in the first section of that name,
    // blanks around it removed; nothing when absent.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Replaces the key where it stands, adds it at the end of its section, or
    // adds the section at the end of the document.
    void setValue(const QString& section, const QString& key, const QString& value);

    QString toString() const;

  private:
    // Index of the section's header line, or -1.
    int findSection(const QString& section) const;
    // End (exclusive) of the section whose header is at `header`.
    int sectionEnd(int header) const;
    static bool isHeader(const QString& line, QString* name = nullptr);
    static bool isKey(const QString& line, QString* key = nullptr, QString* value = nullptr);

    QStringList lines_;
    QString eol_ = QStringLiteral("\r\n");
    bool finalEol_ = true;
};
