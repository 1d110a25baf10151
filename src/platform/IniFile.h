#pragma once
// An INI file held in memory with the observable behaviour of the Windows profile-string
// functions: case-insensitive section and key names, values replaced in place, new keys
// at the end of their section, new sections at the end of the file, whole sections
// removed, keys listed in file order. Unlike those functions there is no limit on the
// length of a value or the number of keys, so nothing is cut and lost on the next save.
// Lines the layer does not understand (comments, junk) are kept as they stand.
//
// Reading: lines end in CR LF or LF alone; key and value are trimmed of blanks and tabs
// on the left, the value keeps its trailing blanks; quotes are not interpreted. Where a
// section or key stands twice, the first occurrence wins.

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

class TIniFile {
public:
    TIniFile() = default;
    explicit TIniFile(const QString& fileName) : FFileName(fileName) {}

    const QString& FileName() const { return FFileName; }

    // Reads the file; a missing file gives an empty INI and true. False (with the
    // system's reason in error) when the file exists but cannot be read.
    bool Load(QString* error = nullptr);
    void Parse(const QByteArray& contents);
    QByteArray ToBytes() const;
    // Writes a temporary file beside the target and renames it over the old one.
    bool Save(QString* error = nullptr) const;

    bool SectionExists(const QByteArray& section) const;
    bool ValueExists(const QByteArray& section, const QByteArray& key) const;
    QByteArray ReadString(const QByteArray& section, const QByteArray& key,
                          const QByteArray& def) const;
    // Decimal (optionally signed), or hexadecimal after "0x", "0X" or "$"; anything
    // else, an empty value or a missing key gives def. Out-of-range numbers give def.
    int ReadInteger(const QByteArray& section, const QByteArray& key, int def) const;
    // Any number but 0 is true; a missing or non-numeric value gives def.
    bool ReadBool(const QByteArray& section, const QByteArray& key, bool def) const;
    QList<QByteArray> ReadSectionKeys(const QByteArray& section) const;
    // The values of a section in file order, one per key line.
    QList<QByteArray> ReadSectionValues(const QByteArray& section) const;

    void WriteString(const QByteArray& section, const QByteArray& key, const QByteArray& value);
    void WriteInteger(const QByteArray& section, const QByteArray& key, qint64 value);
    void WriteBool(const QByteArray& section, const QByteArray& key, bool value);
    void EraseSection(const QByteArray& section);

    static bool ParseInteger(const QByteArray& text, int& value);

private:
    struct Line {
        bool isKey = false;
        QByteArray key;   // as written in the file
        QByteArray value; // key lines only
        QByteArray raw;   // other lines, kept as they stand
    };
    struct Section {
        QByteArray header; // the whole "[Name]" line; empty for the lines before any section
        QByteArray name;
        QList<Line> lines;
        QHash<QByteArray, int> keyIndex; // upper-cased key -> first line with it
        int lastKeyLine = -1;
    };

    const Line* findKey(const QByteArray& section, const QByteArray& key) const;
    Section* findSection(const QByteArray& section);
    static void addLine(Section& s, Line line, int at);

    QString FFileName;
    QList<Section> FSections;
};
