#include "VorkaOMatic.h"

#include "platform/Errors.h"
#include "platform/ProgramFolder.h"
#include "platform/SafeFile.h"

#include <QFile>

#include <cmath>

namespace {

// The text before the next "/" (empty when there is none, which then fails to parse).
QByteArray TakeField(QByteArray& rest)
{
    const qsizetype slash = rest.indexOf('/');
    if (slash < 0)
        return QByteArray();
    const QByteArray field = rest.left(slash);
    rest.remove(0, slash + 1);
    return field;
}

bool ParseField(const QByteArray& text, DateTime::TDateTime& value, QString* error)
{
    if (DateTime::strToDateTime(text, value))
        return true;
    if (error)
        *error = DateTime::invalidDateTimeMessage(text);
    return false;
}

// Day number and second of the day, milliseconds dropped.
void Split(DateTime::TDateTime value, qint64& day, qint64& second)
{
    const QDateTime dt = DateTime::toQDateTime(value);
    day = QDate(1899, 12, 30).daysTo(dt.date());
    const QTime t = dt.time();
    second = t.hour() * 3600 + t.minute() * 60 + t.second();
}

QList<QByteArray> SplitLines(const QByteArray& data)
{
    QList<QByteArray> lines = data.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    for (QByteArray& l : lines)
        if (l.endsWith('\r'))
            l.chop(1);
    return lines;
}

QByteArray JoinLines(const QList<QByteArray>& lines)
{
    QByteArray out;
    for (const QByteArray& l : lines)
        out += l + "\r\n";
    return out;
}

QByteArray Plural(int n, const char* one, const char* many)
{
    return QByteArray::number(n) + (n == 1 ? one : many);
}

} // namespace

TVorkaOMatic::TVorkaOMatic() : FFileName(ProgramFolder::file("vezoriza.sta")) {}

bool TVorkaOMatic::LoadFromFile()
{
    FModified = false;
    QFile f(FFileName);
    if (!f.exists())
        return true;
    if (!f.open(QIODevice::ReadOnly))
        return false;
    FEntries = SplitLines(f.readAll());
    return true;
}

bool TVorkaOMatic::SaveToFile()
{
    QFile old(FFileName);
    if (old.exists()) {
        if (!old.open(QIODevice::ReadOnly))
            return false;
        QString bak = FFileName;
        const qsizetype dot = bak.lastIndexOf('.');
        bak = (dot > bak.lastIndexOf('/') ? bak.left(dot) : bak) + ".bak";
        if (!SafeFile::write(bak, JoinLines(SplitLines(old.readAll()))))
            return false;
    }
    if (!SafeFile::write(FFileName, JoinLines(FEntries)))
        return false;
    FModified = false;
    return true;
}

QByteArray TVorkaOMatic::EntryLine(const TVorkaOMaticLog& e)
{
    return DateTime::dateToStr(e.Date) + '/' + e.Host + '/' + DateTime::dateTimeToStr(e.StartTime) +
           '/' + DateTime::dateTimeToStr(e.EndTime);
}

int TVorkaOMatic::AddEntry(const TVorkaOMaticLog& entry)
{
    if (Count() > kMaxEntries - 1)
        FEntries.removeFirst();
    FEntries.append(EntryLine(entry));
    FModified = true;
    return Count() - 1;
}

void TVorkaOMatic::DeleteEntry(int index)
{
    if (index < 0 || index >= Count())
        return;
    FEntries.removeAt(index);
    FModified = true;
}

void TVorkaOMatic::Clear()
{
    FEntries.clear();
    FModified = true;
}

void TVorkaOMatic::Assign(const TVorkaOMatic& source)
{
    FEntries = source.FEntries;
    FModified = true;
}

bool TVorkaOMatic::TryGetEntry(int index, TVorkaOMaticLog& entry, QString* error) const
{
    if (index < 0 || index >= Count()) {
        if (error)
            *error = DateTime::invalidDateTimeMessage(QByteArray());
        return false;
    }
    QByteArray rest = FEntries[index];
    const QByteArray date = TakeField(rest);
    if (!ParseField(date, entry.Date, error))
        return false;
    entry.Host = TakeField(rest);
    const QByteArray start = TakeField(rest);
    return ParseField(start, entry.StartTime, error) && ParseField(rest, entry.EndTime, error);
}

TVorkaOMaticLog TVorkaOMatic::GetEntry(int index) const
{
    TVorkaOMaticLog e;
    QString error;
    if (!TryGetEntry(index, e, &error))
        throw EConvertError(error);
    return e;
}

qint64 TVorkaOMatic::DurationSeconds(const TVorkaOMaticLog& e)
{
    qint64 d1, s1, d2, s2;
    Split(e.StartTime, d1, s1);
    Split(e.EndTime, d2, s2);
    return (d2 - d1) * 86400 + (s2 - s1);
}

bool TVorkaOMatic::TryEntryDuration(int index, int& hours, int& minutes, int& seconds,
                                    QString* error) const
{
    TVorkaOMaticLog e;
    if (!TryGetEntry(index, e, error))
        return false;
    const qint64 d = DurationSeconds(e);
    hours = int(d / 3600);
    minutes = int((d % 3600) / 60);
    seconds = int(d % 60);
    return true;
}

void TVorkaOMatic::EntryDuration(int index, int& hours, int& minutes, int& seconds) const
{
    QString error;
    if (!TryEntryDuration(index, hours, minutes, seconds, &error))
        throw EConvertError(error);
}

bool TVorkaOMatic::TotalForHost(const QByteArray& host, int& years, int& days, int& hours,
                                int& minutes, int& seconds) const
{
    qint64 sum = 0;
    TVorkaOMaticLog e;
    for (int i = 0; i < Count(); ++i)
        if (TryGetEntry(i, e) && e.Host == host)
            sum += DurationSeconds(e);
    if (sum == 0)
        return false;
    years = int(sum / 31536000);
    sum %= 31536000;
    days = int(sum / 86400);
    sum %= 86400;
    hours = int(sum / 3600);
    minutes = int((sum % 3600) / 60);
    seconds = int(sum % 60);
    return true;
}

void TVorkaOMatic::GetHosts(QList<QByteArray>& target) const
{
    TVorkaOMaticLog e;
    for (int i = 0; i < Count(); ++i)
        if (TryGetEntry(i, e) && !target.contains(e.Host))
            target.append(e.Host);
}

QByteArray TVorkaOMatic::FormatHMS(int hours, int minutes, int seconds)
{
    auto two = [](int v) { return QByteArray::number(v).rightJustified(2, '0'); };
    return QByteArray::number(hours) + "h " + two(minutes) + "m " + two(seconds) + "s";
}

QByteArray TVorkaOMatic::FormatYDHMS(int years, int days, int hours, int minutes, int seconds)
{
    return Plural(years, " Jahr, ", " Jahre, ") + Plural(days, " Tag, ", " Tage, ") +
           Plural(hours, " Stunde, ", " Stunden, ") +
           Plural(minutes, " Minute und ", " Minuten und ") +
           Plural(seconds, " Sekunde", " Sekunden");
}
