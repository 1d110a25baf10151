#include "IniFile.h"

#include "SafeFile.h"
#include "Win1252.h"

#include <QFile>

#include <climits>

namespace {

QByteArray trimLeft(const QByteArray& s)
{
    int i = 0;
    while (i < s.size() && (s[i] == ' ' || s[i] == '\t'))
        ++i;
    return s.mid(i);
}

QByteArray trimBoth(const QByteArray& s)
{
    QByteArray t = trimLeft(s);
    int e = int(t.size());
    while (e > 0 && (t[e - 1] == ' ' || t[e - 1] == '\t'))
        --e;
    return t.left(e);
}

} // namespace

bool TIniFile::Load(QString* error)
{
    QFile f(FFileName);
    if (!f.exists()) {
        FSections.clear();
        return true;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        if (error)
            *error = f.errorString();
        return false;
    }
    const QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError) {
        if (error)
            *error = f.errorString();
        return false;
    }
    Parse(data);
    return true;
}

void TIniFile::addLine(Section& s, Line line, int at)
{
    if (line.isKey) {
        const QByteArray k = Win1252::upperCase(line.key);
        if (!s.keyIndex.contains(k))
            s.keyIndex.insert(k, at);
        if (at > s.lastKeyLine)
            s.lastKeyLine = at;
    }
    s.lines.insert(at, std::move(line));
}

void TIniFile::Parse(const QByteArray& contents)
{
    FSections.clear();
    FSections.append(Section{}); // lines before the first section
    qsizetype pos = 0;
    const qsizetype n = contents.size();
    while (pos < n) {
        qsizetype end = contents.indexOf('\n', pos);
        if (end < 0)
            end = n;
        QByteArray text = contents.mid(pos, end - pos);
        pos = end + 1;
        if (text.endsWith('\r'))
            text.chop(1);
        const QByteArray t = trimLeft(text);
        if (t.startsWith('[')) {
            Section s;
            s.header = text;
            const qsizetype close = t.indexOf(']');
            s.name = trimBoth(t.mid(1, close < 0 ? -1 : close - 1));
            FSections.append(std::move(s));
            continue;
        }
        Section& cur = FSections.last();
        Line line;
        const qsizetype eq = t.indexOf('=');
        if (eq > 0 && !t.startsWith(';') && !cur.header.isEmpty()) {
            line.isKey = true;
            line.key = trimBoth(t.left(eq));
            line.value = trimLeft(t.mid(eq + 1));
        } else {
            line.raw = text;
        }
        addLine(cur, std::move(line), int(cur.lines.size()));
    }
    if (FSections.first().lines.isEmpty())
        FSections.removeFirst();
}

QByteArray TIniFile::ToBytes() const
{
    QByteArray out;
    for (const Section& s : FSections) {
        if (!s.header.isEmpty())
            out += s.header + "\r\n";
        for (const Line& l : s.lines) {
            if (l.isKey)
                out += l.key + '=' + l.value + "\r\n";
            else
                out += l.raw + "\r\n";
        }
    }
    return out;
}

bool TIniFile::Save(QString* error) const
{
    return SafeFile::write(FFileName, ToBytes(), error);
}

const TIniFile::Line* TIniFile::findKey(const QByteArray& section, const QByteArray& key) const
{
    const QByteArray k = Win1252::upperCase(trimBoth(key));
    for (const Section& s : FSections) {
        if (s.header.isEmpty() || !Win1252::sameText(s.name, section))
            continue;
        const auto it = s.keyIndex.constFind(k);
        if (it != s.keyIndex.constEnd())
            return &s.lines[it.value()];
    }
    return nullptr;
}

TIniFile::Section* TIniFile::findSection(const QByteArray& section)
{
    for (Section& s : FSections)
        if (!s.header.isEmpty() && Win1252::sameText(s.name, section))
            return &s;
    return nullptr;
}

bool TIniFile::SectionExists(const QByteArray& section) const
{
    for (const Section& s : FSections)
        if (!s.header.isEmpty() && Win1252::sameText(s.name, section))
            return true;
    return false;
}

bool TIniFile::ValueExists(const QByteArray& section, const QByteArray& key) const
{
    return findKey(section, key) != nullptr;
}

QByteArray TIniFile::ReadString(const QByteArray& section, const QByteArray& key,
                                const QByteArray& def) const
{
    const Line* l = findKey(section, key);
    return l ? l->value : def;
}

bool TIniFile::ParseInteger(const QByteArray& text, int& value)
{
    const QByteArray t = trimBoth(text);
    bool ok = false;
    qlonglong v = 0;
    if (t.startsWith("0x") || t.startsWith("0X"))
        v = t.mid(2).toLongLong(&ok, 16);
    else if (t.startsWith('$'))
        v = t.mid(1).toLongLong(&ok, 16);
    else if (!t.isEmpty() && t[0] != ' ')
        v = t.toLongLong(&ok, 10);
    if (!ok)
        return false;
    if (t.startsWith("0x") || t.startsWith("0X") || t.startsWith('$')) {
        // Hexadecimal is read as 32 bits, so "$FFFFFFFF" is -1 as the runtime reads it.
        if (v < 0 || v > 0xFFFFFFFFLL)
            return false;
        value = int(quint32(v));
        return true;
    }
    if (v < INT_MIN || v > INT_MAX)
        return false;
    value = int(v);
    return true;
}

int TIniFile::ReadInteger(const QByteArray& section, const QByteArray& key, int def) const
{
    const Line* l = findKey(section, key);
    int v = 0;
    return (l && ParseInteger(l->value, v)) ? v : def;
}

bool TIniFile::ReadBool(const QByteArray& section, const QByteArray& key, bool def) const
{
    const Line* l = findKey(section, key);
    int v = 0;
    return (l && ParseInteger(l->value, v)) ? v != 0 : def;
}

QList<QByteArray> TIniFile::ReadSectionKeys(const QByteArray& section) const
{
    QList<QByteArray> keys;
    for (const Section& s : FSections) {
        if (s.header.isEmpty() || !Win1252::sameText(s.name, section))
            continue;
        for (const Line& l : s.lines)
            if (l.isKey)
                keys.append(l.key);
    }
    return keys;
}

QList<QByteArray> TIniFile::ReadSectionValues(const QByteArray& section) const
{
    QList<QByteArray> values;
    for (const Section& s : FSections) {
        if (s.header.isEmpty() || !Win1252::sameText(s.name, section))
            continue;
        for (const Line& l : s.lines)
            if (l.isKey)
                values.append(l.value);
    }
    return values;
}

void TIniFile::WriteString(const QByteArray& section, const QByteArray& key,
                           const QByteArray& value)
{
    // A value with a line break would turn into lines of its own on the next read.
    QByteArray v(value);
    v.replace('\r', ' ').replace('\n', ' ');
    Section* s = findSection(section);
    if (!s) {
        Section fresh;
        fresh.header = '[' + section + ']';
        fresh.name = section;
        FSections.append(std::move(fresh));
        s = &FSections.last();
    }
    const auto it = s->keyIndex.constFind(Win1252::upperCase(key));
    if (it != s->keyIndex.constEnd()) {
        s->lines[it.value()].value = v;
        return;
    }
    Line line;
    line.isKey = true;
    line.key = key;
    line.value = v;
    const int at = s->lastKeyLine + 1;
    // Lines after the insertion point move down; only non-key lines stand there.
    addLine(*s, std::move(line), at);
}

void TIniFile::WriteInteger(const QByteArray& section, const QByteArray& key, qint64 value)
{
    WriteString(section, key, QByteArray::number(value));
}

void TIniFile::WriteBool(const QByteArray& section, const QByteArray& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void TIniFile::EraseSection(const QByteArray& section)
{
    FSections.removeIf([&](const Section& s) {
        return !s.header.isEmpty() && Win1252::sameText(s.name, section);
    });
}
