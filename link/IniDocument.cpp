#include "IniDocument.h"

IniDocument::IniDocument(const QString& text) {
    bool styleKnown = false;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n')) continue;
        const bool crlf =
            c == QLatin1Char('\r') && i + 1 < text.size() && text[i + 1] == QLatin1Char('\n');
        const QString end = crlf ? QStringLiteral("\r\n") : QString(c);
        lines_.append({text.mid(start, i - start), end});
        if (!styleKnown) eol_ = end;
        styleKnown = true;
        i += end.size() - 1;
        start = i + 1;
    }
    if (start < text.size()) lines_.append({text.mid(start), QString()});
}

QString IniDocument::oneLine(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        const QChar::Category k = c.category();
        if (k == QChar::Other_Control || k == QChar::Separator_Line ||
            k == QChar::Separator_Paragraph)
            continue;
        out += c;
    }
    return out;
}

void IniDocument::insertLine(int at, const QString& text) {
    if (at == lines_.size() && !lines_.isEmpty() && lines_.back().end.isEmpty()) {
        // A file whose last line had no line end keeps ending that way.
        lines_.back().end = eol_;
        lines_.append({text, QString()});
        return;
    }
    lines_.insert(at, {text, eol_});
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
        if (isHeader(lines_[i].text, &name) && name.compare(section, Qt::CaseInsensitive) == 0)
            return i;
    return -1;
}

int IniDocument::sectionEnd(int header) const {
    int i = header + 1;
    while (i < lines_.size() && !isHeader(lines_[i].text))
        ++i;
    return i;
}

std::optional<QString> IniDocument::value(const QString& section, const QString& key) const {
    const int header = findSection(section);
    if (header < 0) return std::nullopt;
    const int end = sectionEnd(header);
    QString k, v;
    for (int i = header + 1; i < end; ++i)
        if (isKey(lines_[i].text, &k, &v) && k.compare(key, Qt::CaseInsensitive) == 0) return v;
    return std::nullopt;
}

bool IniDocument::setValue(const QString& section, const QString& key, const QString& value) {
    const QString s = oneLine(section).trimmed(), k = oneLine(key).trimmed(), v = oneLine(value);
    if (s.isEmpty() || s.contains(QLatin1Char(']')) || k.isEmpty() ||
        k.contains(QLatin1Char('=')) || k.startsWith(QLatin1Char('[')) ||
        k.startsWith(QLatin1Char(';')) || k.startsWith(QLatin1Char('#')))
        return false;
    const int header = findSection(s);
    if (header < 0) {
        if (!lines_.isEmpty() && !lines_.back().text.trimmed().isEmpty())
            insertLine(lines_.size(), QString());
        insertLine(lines_.size(), QLatin1Char('[') + s + QLatin1Char(']'));
        insertLine(lines_.size(), k + QLatin1Char('=') + v);
        return true;
    }
    const int end = sectionEnd(header);
    QString name;
    int lastContent = header;
    for (int i = header + 1; i < end; ++i) {
        QString& line = lines_[i].text;
        if (isKey(line, &name) && name.compare(k, Qt::CaseInsensitive) == 0) {
            // Keep the key's own spelling and indentation.
            line = line.left(line.indexOf(QLatin1Char('=')) + 1) + v;
            return true;
        }
        if (!line.trimmed().isEmpty()) lastContent = i;
    }
    insertLine(lastContent + 1, k + QLatin1Char('=') + v);
    return true;
}

QString IniDocument::toString() const {
    QString out;
    for (const Line& l : lines_)
        out += l.text + l.end;
    return out;
}
