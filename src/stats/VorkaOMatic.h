#pragma once
// The online-time log: one line per finished connection in vezoriza.sta beside the
// program, "date/host/start/end" with German date-time texts ("." and ":" separators,
// so a line always splits back at "/").

#include "platform/DateTime.h"

#include <QByteArray>
#include <QList>
#include <QString>

struct TVorkaOMaticLog {
    DateTime::TDateTime Date = 0; // the day, time of day zero
    QByteArray Host;
    DateTime::TDateTime StartTime = 0;
    DateTime::TDateTime EndTime = 0;
};

class TVorkaOMatic {
public:
    static constexpr int kMaxEntries = 32001;

    TVorkaOMatic(); // file name: program folder + "vezoriza.sta"

    QList<QByteArray> FEntries; // one text line per entry, oldest first
    QString FFileName;
    bool FModified = false;

    // A missing file leaves the log empty. False (entries untouched) when the file
    // exists but cannot be read.
    bool LoadFromFile();
    // Copies the old file to vezoriza.bak first. False when a file cannot be written;
    // the log then stays marked modified.
    bool SaveToFile();

    int Count() const { return int(FEntries.size()); }
    // Drops the oldest line when the log is full; returns the new line's index.
    int AddEntry(const TVorkaOMaticLog& entry);
    void DeleteEntry(int index);
    void Clear();
    void Assign(const TVorkaOMatic& source);

    // Raise EConvertError ("'%s' ist kein gültiges Datum und Zeit") for a line that
    // cannot be parsed; the Try forms give false and the message instead.
    TVorkaOMaticLog GetEntry(int index) const;
    bool TryGetEntry(int index, TVorkaOMaticLog& entry, QString* error = nullptr) const;
    void EntryDuration(int index, int& hours, int& minutes, int& seconds) const;
    bool TryEntryDuration(int index, int& hours, int& minutes, int& seconds,
                          QString* error = nullptr) const;
    // Sums the host's connections (exact host match); lines that cannot be parsed are
    // left out so one bad line does not hide every other. False when the sum is 0.
    bool TotalForHost(const QByteArray& host, int& years, int& days, int& hours, int& minutes,
                      int& seconds) const;
    // Appends the hosts the target does not hold yet, in order of first appearance.
    void GetHosts(QList<QByteArray>& target) const;

    static QByteArray EntryLine(const TVorkaOMaticLog& entry);
    static qint64 DurationSeconds(const TVorkaOMaticLog& entry);
    static QByteArray FormatHMS(int hours, int minutes, int seconds);
    static QByteArray FormatYDHMS(int years, int days, int hours, int minutes, int seconds);
};
