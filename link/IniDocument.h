// Line-preserving INI document: comments, blank lines, unknown sections and
// keys, and each line's own line end survive a write. Lines may end in CR LF,
// LF or CR alone. Section and key names compare without regard to case.
#pragma once

#include <QList>
#include <QString>

#include <optional>

class IniDocument {
  public:
    IniDocument() = default;
    explicit IniDocument(const QString& text);

    // Value of the first key of that name in the first section of that name,
    // blanks around it removed; nothing when absent.
    std::optional<QString> value(const QString& section, const QString& key) const;

    // Replaces the key where it stands, adds it at the end of its section, or
    // adds the section at the end of the document. Whatever it is handed, a
    // value never ends its line or begins a section: control characters (line
    // breaks, tabs, the other C0 and C1 codes) and Unicode line and paragraph
    // separators are dropped from it, every other character is kept. Names
    // lose the same characters; a name that could not be read back (a key
    // with "=" or beginning with "[", ";" or "#", a section with "]", an
    // empty one) is refused: false, the document unchanged.
    bool setValue(const QString& section, const QString& key, const QString& value);

    QString toString() const;

  private:
    struct Line {
        QString text;
        QString end; // "\r\n", "\n", "\r", or empty for a last line without one
    };

    // Index of the section's header line, or -1.
    int findSection(const QString& section) const;
    // End (exclusive) of the section whose header is at `header`.
    int sectionEnd(int header) const;
    // Inserts a line before index `at`, ended as the document's lines end.
    void insertLine(int at, const QString& text);
    static bool isHeader(const QString& line, QString* name = nullptr);
    static bool isKey(const QString& line, QString* key = nullptr, QString* value = nullptr);
    // `text` without the characters that could break a line.
    static QString oneLine(const QString& text);

    QList<Line> lines_;
    // Line end of new lines: the file's first, else CR LF.
    QString eol_ = QStringLiteral("\r\n");
};
