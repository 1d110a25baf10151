// The connection clock and the online-time log in vezoriza.sta.
#include "FileRig.h"
#include "TableRows.h"
#include "TempProgramFolder.h"
#include "platform/Errors.h"
#include "stats/ConnectTime.h"
#include "stats/VorkaOMatic.h"

#include <QDir>
#include <QTest>

namespace
{

TVorkaOMaticLog Entry(const char* host, const QByteArray& start, const QByteArray& end)
{
    TVorkaOMaticLog e;
    e.Host = host;
    DateTime::strToDateTime(start, e.StartTime);
    DateTime::strToDateTime(end, e.EndTime);
    e.Date = std::floor(e.StartTime);
    return e;
}

struct DurationRow {
    const char* name;
    QString start, end, entry, total;
};
const DurationRow kDurations[] = {
    {"minutes", "01.01.2020 10:00:00", "01.01.2020 11:05:00", "1h 05m 00s",
     "0 Jahre, 0 Tage, 1 Stunde, 5 Minuten und 0 Sekunden"},
    {"days", "01.01.2020 10:00:00", "03.01.2020 11:01:01", "49h 01m 01s",
     "0 Jahre, 2 Tage, 1 Stunde, 1 Minute und 1 Sekunde"},
    {"365 days", "01.01.2021 00:00:00", "01.01.2022 00:00:00", "8760h 00m 00s",
     "1 Jahr, 0 Tage, 0 Stunden, 0 Minuten und 0 Sekunden"},
    {"366 days", "01.01.2021 00:00:00", "02.01.2022 00:00:00", "8784h 00m 00s",
     "1 Jahr, 1 Tag, 0 Stunden, 0 Minuten und 0 Sekunden"},
};

} // namespace

class TestOnlineTime : public QObject
{
    Q_OBJECT
private slots:
    void clockTicks()
    {
        const QPair<QList<int>, QByteArray> rows[] = {
            {{0, 0, 58}, "00:00:59"},
            {{0, 58, 59}, "00:59:00"}, // 59 seconds roll over
            {{9, 59, 59}, "10:00:00"}, // 59 minutes roll over
        };
        for (const auto& [hms, after] : rows) {
            TConnectTime t;
            t.Hours = hms[0], t.Minutes = hms[1], t.Seconds = hms[2];
            t.TimerTick();
            QCOMPARE(t.AsString(), after);
        }
    }

    void clockRunsOnItsTimer()
    {
        TConnectTime t;
        auto* timer = t.findChild<QTimer*>();
        QCOMPARE(timer->interval(), 1000);
        QObject* sender = nullptr;
        t.OnTick = [&](QObject* s) { sender = s; };
        timer->setInterval(0); // the ticks without waiting for seconds
        t.Start();
        QTRY_COMPARE(sender, timer);
        t.Stop();
        QVERIFY(!t.Running());
        QVERIFY(t.AsString() != "00:00:00"); // counts stay after Stop
        t.Start();
        t.Reset();
        QVERIFY(!t.Running());
        QCOMPARE(t.AsString(), QByteArray("00:00:00"));
    }

    void durations_data() { AddTableRows(kDurations); }

    void durations()
    {
        const DurationRow& r = TableRow(kDurations);
        TVorkaOMatic log;
        log.AddEntry(Entry("other", "01.01.2020 10:00:00", "01.01.2020 10:00:07"));
        QCOMPARE(log.AddEntry(Entry("mud", r.start.toLatin1(), r.end.toLatin1())), 1);
        int y, d, h, m, s;
        log.EntryDuration(1, h, m, s);
        QCOMPARE(TVorkaOMatic::FormatHMS(h, m, s), r.entry.toLatin1());
        QVERIFY(log.TotalForHost("mud", y, d, h, m, s));
        QCOMPARE(TVorkaOMatic::FormatYDHMS(y, d, h, m, s), r.total.toLatin1());
    }

    void entryLinesAndHosts()
    {
        TVorkaOMatic log;
        log.AddEntry(Entry("Mud", "05.12.1998 23:59:30", "06.12.1998 00:00:30"));
        QVERIFY(log.FModified);
        QCOMPARE(log.FEntries[0],
                 QByteArray("05.12.1998/Mud/05.12.1998 23:59:30/06.12.1998 00:00:30"));
        const TVorkaOMaticLog back = log.GetEntry(0);
        QCOMPARE(back.Host + ' ' + DateTime::dateTimeToStr(back.Date),
                 QByteArray("Mud 05.12.1998"));
        log.AddEntry(Entry("mud", "01.01.2020 10:00:00", "01.01.2020 10:00:00"));
        log.AddEntry(Entry("Mud", "01.01.2020 12:00:00", "01.01.2020 12:00:00"));
        QList<QByteArray> hosts{"other"};
        log.GetHosts(hosts);
        QCOMPARE(hosts, QList<QByteArray>({"other", "Mud", "mud"}));
        int y = -1, d = -1, h = -1, m = -1, s = -1;
        QVERIFY(!log.TotalForHost("mud", y, d, h, m, s)); // zero-length connections only
        QCOMPARE(y, -1);
    }

    void changesMarkTheLogAndStayInBounds()
    {
        TVorkaOMatic log, other;
        for (int i = 0; i < TVorkaOMatic::kMaxEntries - 1; ++i)
            log.FEntries.append("line" + QByteArray::number(i));
        const TVorkaOMaticLog e = Entry("x", "01.01.2020 10:00:00", "01.01.2020 10:00:01");
        QCOMPARE(log.AddEntry(e), 32000); // the last free place
        QCOMPARE(log.FEntries.first(), QByteArray("line0"));
        QCOMPARE(log.AddEntry(e), 32000); // full: the oldest goes
        QCOMPARE(log.FEntries.first(), QByteArray("line1"));
        log.FModified = false;
        log.DeleteEntry(-1);
        log.DeleteEntry(log.Count());
        QCOMPARE(log.Count(), 32001);
        QVERIFY(!log.FModified);
        log.DeleteEntry(0);
        QCOMPARE(log.FEntries.first(), QByteArray("line2"));
        QVERIFY(log.FModified);
        other.Assign(log);
        QVERIFY(other.FModified);
        QCOMPARE(other.FEntries, log.FEntries);
    }

    void saveKeepsBackupFailuresKeepModified()
    {
        TempProgramFolder folder;
        const QString sta = folder.file("vezoriza.sta"), bak = folder.file("vezoriza.bak");
        const TVorkaOMaticLog e = Entry("a", "01.01.2020 10:00:00", "01.01.2020 10:00:01");
        TVorkaOMatic log;
        QVERIFY(log.LoadFromFile()); // missing file: empty, no complaint
        QCOMPARE(log.Count(), 0);
        log.AddEntry(e);
        QVERIFY(log.SaveToFile());
        QVERIFY(!log.FModified);
        QVERIFY(!QFile::exists(bak));
        const QByteArray first = "01.01.2020/a/01.01.2020 10:00:00/01.01.2020 10:00:01\r\n";
        QCOMPARE(ReadFile(sta), first);
        log.Clear();
        QVERIFY(log.FModified);
        QVERIFY(log.SaveToFile());
        QCOMPARE(ReadFile(sta), QByteArray());
        QCOMPARE(ReadFile(bak), first);
        // A folder where a file should be cannot be read or replaced, even by root.
        QVERIFY(QFile::remove(bak));
        QVERIFY(QDir().mkdir(bak));
        log.AddEntry(e);
        QVERIFY(!log.SaveToFile());
        QVERIFY(log.FModified);
        QCOMPARE(ReadFile(sta), QByteArray());
        QVERIFY(QFile::remove(sta));
        QVERIFY(QDir().mkdir(sta));
        QVERIFY(!log.SaveToFile());
        QVERIFY(log.FModified);
        QVERIFY(!log.LoadFromFile());
        QCOMPARE(log.Count(), 1);
    }

    void badLineFailsAloneAndLosesNothing()
    {
        TempProgramFolder folder;
        QVERIFY(WriteFile(folder.file("vezoriza.sta"),
                          "01.01.20/a/01.01.20 10:00/01.01.20 11:00\nkaputt/a/x/y\n"
                          "01.01.2020/a/01.01.2020 11:00:00")); // no end time, line unended
        TVorkaOMatic log;
        log.FModified = true;
        QVERIFY(log.LoadFromFile());
        QVERIFY(!log.FModified);
        QCOMPARE(log.Count(), 3);
        int y, d, h, m, s;
        log.EntryDuration(0, h, m, s);
        QCOMPARE(TVorkaOMatic::FormatHMS(h, m, s), QByteArray("1h 00m 00s"));
        QString error;
        TVorkaOMaticLog e;
        QVERIFY(!log.TryGetEntry(1, e, &error));
        QCOMPARE(error, QString("'kaputt' ist kein gültiges Datum und Zeit"));
        for (int i : {2, 3}) { // no end time; beyond the end
            QVERIFY(!log.TryGetEntry(i, e, &error));
            QCOMPARE(error, QString("'' ist kein gültiges Datum und Zeit"));
        }
        QVERIFY_THROWS_EXCEPTION(EConvertError, log.GetEntry(1));
        QVERIFY_THROWS_EXCEPTION(EConvertError, log.EntryDuration(1, h, m, s));
        QVERIFY(log.TotalForHost("a", y, d, h, m, s));
        QCOMPARE(h, 1);
        QList<QByteArray> hosts;
        log.GetHosts(hosts);
        QCOMPARE(hosts, QList<QByteArray>({"a"}));
        log.AddEntry(Entry("b", "01.01.2020 10:00:00", "01.01.2020 10:00:01"));
        QVERIFY(log.SaveToFile());
        TVorkaOMatic back;
        QVERIFY(back.LoadFromFile());
        QCOMPARE(back.FEntries, log.FEntries);
    }
};

QTEST_GUILESS_MAIN(TestOnlineTime)
#include "tst_onlinetime.moc"
