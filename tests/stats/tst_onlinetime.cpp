// The connection clock and the online-time log in vezoriza.sta.
#include "TempProgramFolder.h"
#include "platform/Errors.h"
#include "stats/ConnectTime.h"
#include "stats/VorkaOMatic.h"

#include <QFile>
#include <QTest>

namespace {

TVorkaOMaticLog Entry(const char* host, const char* start, const char* end)
{
    TVorkaOMaticLog e;
    e.Host = host;
    DateTime::strToDateTime(start, e.StartTime);
    DateTime::strToDateTime(end, e.EndTime);
    e.Date = std::floor(e.StartTime);
    return e;
}

QByteArray ReadAll(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

class TestOnlineTime : public QObject {
    Q_OBJECT
private slots:
    void clockCountsAndFormats();
    void entryLinesAndDurations();
    void totalsPerHostInWords();
    void formats();
    void logIsBounded();
    void saveKeepsBackupAndLoadReadsBack();
    void badLineFailsAloneAndLosesNothing();
};

void TestOnlineTime::clockCountsAndFormats()
{
    TConnectTime t;
    int ticks = 0;
    t.OnTick = [&](QObject*) { ++ticks; };
    t.Seconds = 59;
    t.TimerTick();
    QCOMPARE(t.AsString(), QByteArray("00:01:00"));
    t.Minutes = 59;
    t.Seconds = 59;
    t.TimerTick();
    QCOMPARE(t.AsString(), QByteArray("01:00:00"));
    QCOMPARE(ticks, 2);
    t.Hours = 123;
    t.Seconds = 1;
    QCOMPARE(t.AsString(), QByteArray("123:00:01"));
    t.Start();
    QVERIFY(t.Running());
    t.Stop();
    QCOMPARE(t.Hours, 123); // counts stay after Stop
    t.Reset();
    QVERIFY(!t.Running());
    QCOMPARE(t.AsString(), QByteArray("00:00:00"));
}

void TestOnlineTime::entryLinesAndDurations()
{
    TempProgramFolder folder;
    TVorkaOMatic log;
    QCOMPARE(log.FFileName, folder.file("vezoriza.sta"));
    const int i = log.AddEntry(Entry("mud.de", "05.12.1998 13:09:47", "05.12.1998 14:02:11"));
    QCOMPARE(i, 0);
    QVERIFY(log.FModified);
    QCOMPARE(log.FEntries[0], QByteArray("05.12.1998/mud.de/05.12.1998 13:09:47/05.12.1998 14:02:11"));
    int h, m, s;
    log.EntryDuration(0, h, m, s);
    QCOMPARE(QList<int>({h, m, s}), QList<int>({0, 52, 24}));
    // Across midnight.
    log.AddEntry(Entry("mud.de", "05.12.1998 23:59:30", "06.12.1998 00:00:30"));
    QCOMPARE(log.FEntries[1], QByteArray("05.12.1998/mud.de/05.12.1998 23:59:30/06.12.1998 00:00:30"));
    log.EntryDuration(1, h, m, s);
    QCOMPARE(QList<int>({h, m, s}), QList<int>({0, 1, 0}));
    const TVorkaOMaticLog back = log.GetEntry(1);
    QCOMPARE(back.Host, QByteArray("mud.de"));
    QCOMPARE(DateTime::dateTimeToStr(back.Date), QByteArray("05.12.1998"));
}

void TestOnlineTime::totalsPerHostInWords()
{
    TempProgramFolder folder;
    TVorkaOMatic log;
    log.AddEntry(Entry("Mud", "01.01.2020 10:00:00", "01.01.2020 11:05:01"));
    log.AddEntry(Entry("mud", "01.01.2020 10:00:00", "01.01.2020 10:00:00"));
    log.AddEntry(Entry("Mud", "01.01.2020 12:00:00", "01.01.2020 12:00:00"));
    QList<QByteArray> hosts{"other"};
    log.GetHosts(hosts);
    QCOMPARE(hosts, QList<QByteArray>({"other", "Mud", "mud"}));
    int y = -1, d = -1, h = -1, m = -1, s = -1;
    QVERIFY(!log.TotalForHost("mud", y, d, h, m, s)); // zero-length connections only
    QCOMPARE(y, -1);
    QVERIFY(log.TotalForHost("Mud", y, d, h, m, s));
    QCOMPARE(TVorkaOMatic::FormatYDHMS(y, d, h, m, s),
             QByteArray("0 Jahre, 0 Tage, 1 Stunde, 5 Minuten und 1 Sekunde"));
    // 366 days and 2 seconds.
    log.AddEntry(Entry("lang", "01.01.2021 00:00:00", "02.01.2022 00:00:02"));
    QVERIFY(log.TotalForHost("lang", y, d, h, m, s));
    QCOMPARE(TVorkaOMatic::FormatYDHMS(y, d, h, m, s),
             QByteArray("1 Jahr, 1 Tag, 0 Stunden, 0 Minuten und 2 Sekunden"));
}

void TestOnlineTime::formats()
{
    QCOMPARE(TVorkaOMatic::FormatHMS(1, 5, 9), QByteArray("1h 05m 09s"));
    QCOMPARE(TVorkaOMatic::FormatHMS(0, 0, 0), QByteArray("0h 00m 00s"));
    QCOMPARE(TVorkaOMatic::FormatHMS(250, 59, 59), QByteArray("250h 59m 59s"));
}

void TestOnlineTime::logIsBounded()
{
    TempProgramFolder folder;
    TVorkaOMatic log;
    for (int i = 0; i < TVorkaOMatic::kMaxEntries; ++i)
        log.FEntries.append("line" + QByteArray::number(i));
    QCOMPARE(log.AddEntry(Entry("x", "01.01.2020 10:00:00", "01.01.2020 10:00:01")), 32000);
    QCOMPARE(log.Count(), 32001);
    QCOMPARE(log.FEntries.first(), QByteArray("line1"));
}

void TestOnlineTime::saveKeepsBackupAndLoadReadsBack()
{
    TempProgramFolder folder;
    TVorkaOMatic log;
    QVERIFY(log.LoadFromFile()); // missing file: empty, no complaint
    QCOMPARE(log.Count(), 0);
    log.AddEntry(Entry("a", "01.01.2020 10:00:00", "01.01.2020 10:00:01"));
    QVERIFY(log.SaveToFile());
    QVERIFY(!log.FModified);
    QVERIFY(!QFile::exists(folder.file("vezoriza.bak")));
    const QByteArray first = ReadAll(folder.file("vezoriza.sta"));
    QCOMPARE(first, QByteArray("01.01.2020/a/01.01.2020 10:00:00/01.01.2020 10:00:01\r\n"));
    log.Clear();
    QVERIFY(log.SaveToFile());
    QCOMPARE(ReadAll(folder.file("vezoriza.sta")), QByteArray());
    QCOMPARE(ReadAll(folder.file("vezoriza.bak")), first);

    QFile lf(folder.file("vezoriza.sta"));
    QVERIFY(lf.open(QIODevice::WriteOnly));
    lf.write("01.01.20/a/01.01.20 10:00/01.01.20 11:00\nzweite\n");
    lf.close();
    TVorkaOMatic again;
    again.FModified = true;
    QVERIFY(again.LoadFromFile());
    QVERIFY(!again.FModified);
    QCOMPARE(again.Count(), 2);
    int h, m, s;
    again.EntryDuration(0, h, m, s);
    QCOMPARE(h, 1);
}

void TestOnlineTime::badLineFailsAloneAndLosesNothing()
{
    TempProgramFolder folder;
    TVorkaOMatic log;
    log.FEntries = {"01.01.2020/a/01.01.2020 10:00:00/01.01.2020 10:00:10", "kaputt/a/x/y",
                    "01.01.2020/a/01.01.2020 11:00:00"};
    QString error;
    TVorkaOMaticLog e;
    QVERIFY(!log.TryGetEntry(1, e, &error));
    QCOMPARE(error, QString("'kaputt' ist kein gültiges Datum und Zeit"));
    QVERIFY(!log.TryGetEntry(2, e, &error));
    QCOMPARE(error, QString("'' ist kein gültiges Datum und Zeit"));
    QVERIFY_THROWS_EXCEPTION(EConvertError, log.GetEntry(1));
    int y, d, h, m, s;
    QVERIFY(log.TotalForHost("a", y, d, h, m, s));
    QCOMPARE(s, 10);
    QList<QByteArray> hosts;
    log.GetHosts(hosts);
    QCOMPARE(hosts, QList<QByteArray>({"a"}));
    log.AddEntry(Entry("b", "01.01.2020 10:00:00", "01.01.2020 10:00:01"));
    QVERIFY(log.SaveToFile());
    TVorkaOMatic back;
    QVERIFY(back.LoadFromFile());
    QCOMPARE(back.FEntries, log.FEntries);
}

QTEST_GUILESS_MAIN(TestOnlineTime)
#include "tst_onlinetime.moc"
