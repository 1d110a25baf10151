// Fuzzes the reading of vezoriza.sta with arbitrary file contents: its lines, each
// line's fields, the durations and host totals derived from them, and the save.
// Invariants: no crash or overrun; a saved log loads back line for line; an entry
// written back as a line reads back to the same line and the same duration.
#include "platform/ProgramFolder.h"
#include "stats/VorkaOMatic.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdlib>

namespace {

void CheckEntry(const TVorkaOMatic& log, int index)
{
    TVorkaOMaticLog entry;
    int hours = 0, minutes = 0, seconds = 0;
    if (!log.TryGetEntry(index, entry)) {
        if (log.TryEntryDuration(index, hours, minutes, seconds))
            std::abort();
        return;
    }
    const qint64 duration = TVorkaOMatic::DurationSeconds(entry);
    if (!log.TryEntryDuration(index, hours, minutes, seconds)
        || qint64(hours) * 3600 + minutes * 60 + seconds != duration)
        std::abort();
    TVorkaOMatic::FormatHMS(hours, minutes, seconds);

    TVorkaOMatic again;
    const QByteArray line = TVorkaOMatic::EntryLine(entry);
    again.FEntries = {line};
    TVorkaOMaticLog reread;
    if (!again.TryGetEntry(0, reread) || TVorkaOMatic::EntryLine(reread) != line
        || TVorkaOMatic::DurationSeconds(reread) != duration || reread.Host != entry.Host)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static QTemporaryDir dir;
    static const bool ready = [] {
        ProgramFolder::setOverride(dir.path());
        return dir.isValid();
    }();
    if (!ready)
        return 0;
    {
        QFile f(dir.filePath("vezoriza.sta"));
        if (!f.open(QIODevice::WriteOnly))
            return 0;
        f.write(reinterpret_cast<const char*>(data), qint64(size));
    }
    TVorkaOMatic log;
    if (!log.LoadFromFile())
        return 0;
    for (int i = 0; i < log.Count(); ++i)
        CheckEntry(log, i);

    QList<QByteArray> hosts;
    log.GetHosts(hosts);
    for (const QByteArray& host : hosts) {
        if (hosts.count(host) != 1)
            std::abort();
        int years = 0, days = 0, hours = 0, minutes = 0, seconds = 0;
        if (log.TotalForHost(host, years, days, hours, minutes, seconds))
            TVorkaOMatic::FormatYDHMS(years, days, hours, minutes, seconds);
    }

    if (!log.SaveToFile())
        return 0;
    TVorkaOMatic reloaded;
    if (!reloaded.LoadFromFile() || reloaded.FEntries != log.FEntries)
        std::abort();
    return 0;
}
