#include "IniDocument.h"

IniDocument::IniDocument(const QString& text) {
    if (text.isEmpty()) return;
    if (text.contains(QLatin1String("\r\n")))
        eol_ = QStringLiteral("\r\n");
    else if (text.contains(QLatin1Char('\n')))
        eol_ = QStringLiteral("\n");
    QString normal = text;
    normal.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    finalEol_ = normal.endsWith(QLatin1Char('\n'));
    if (finalEol_) normal.chop(1);
    lines_ = normal.split(QLatin1Char('\n'));
}

bool IniDocument::isHeader(const QString& line, QString* name) {
    const QString t = line.trimmed();
    if (!t.startsWith(QLatin1Char('['))) return false;
    const int close = t.indexOf(QLatin1Char(']'));
    if (close < 0) return false;
    if (name) *name = t.mid(1, close - 1).trimmed();
    return true;
}

bool IniDocument::isKey(const QString& line, QString* key, QString* value) {
    const QString t = line.trimmed();
    if (t.isEmpty() || t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('#')))
        return false;
    const int eq = t.indexOf(QLatin1Char('='));
    if (eq <= 0) return false;
    if (key) *key = t.left(eq).trimmed();
    if (value) {
        QString v = t.mid(eq + 1).trimmed();
        // A value in matching quotes is read without them, as Windows does.
        if (v.size() >= 2 && (v.front() == v.back()) &&
            (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')))
            v = v.mid(1, v.size() - 2);
        *value = v;
    }
    return true;
}

int IniDocument::findSection(const QString& section) const {
    QString name;
    for (int i = 0; i < lines_.size(); ++i)
        if (isHeader(lines_[i], &name) && name.compare(section, Qt::CaseInsensitive) == 0) return i;
    return -1;
}

int IniDocument::sectionEnd(int header) const {
    int i = header + 1;
    while (i < lines_.size() && !isHeader(lines_[i]))
        ++i;
    return i;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const int header = findSection(section);
    if (header < 0) return std::nullopt;
    const int end = sectionEnd(header);
    QString k, v;
    for (int i = header + 1; i < end; ++i)
        if (isKey(lines_[i], &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0) return v;
    return std::nullopt;
}

void IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    const int header = findSection(section);
    if (header < 0) {
        if (!lines_.isEmpty() && !lines_.back().trimmed().isEmpty()) lines_.append(QString());
        lines_.append(QLatin1Char('[') + section + QLatin1Char(']'));
        lines_.append(key + QLatin1Char('=') + value);
        return;
    }
    const int end = sectionEnd(header);
    QString k;
    int lastContent = header;
    for (int i = header + 1; i < end; ++i) {
        if (isKey(lines_[i], &k) && k.compare(key, Qt::CaseInsensitive) == 0) {
            // Keep the key's own spelling and indentation.
            const int eq = lines_[i].indexOf(QLatin1Char('='));
            lines_[i] = lines_[i].left(eq + 1) + value;
            return;
        }
        if (!lines_[i].trimmed().isEmpty()) lastContent = i;
    }
    lines_.insert(lastContent + 1, key + QLatin1Char('=') + value);
}

QString IniDocument::toString() const {
    if (lines_.isEmpty()) return {};
    QString out = lines_.join(eol_);
    if (finalEol_) out += eol_;
    return out;
}
