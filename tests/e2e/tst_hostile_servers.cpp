// The whole client, main window included, against servers that misbehave. For every
// storm: the event loop keeps turning (a 20 ms heartbeat never stalls for long), the
// memory stays bounded, and afterwards a well-behaved server is reached and its
// greeting shows as a line of its own.

#include "TestLoopback.h"
#include "Loopback.h"
#include "ScriptedPrompts.h"
#include "TempProgramFolder.h"

#include "app/Mudmain.h"
#include "display/console/ColorConsole.h"
#include "display/output/IncomingText.h"
#include "display/output/OutputSink.h"
#include "net/TnCnx.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <sys/resource.h>

#include <functional>

namespace {

const QByteArray kGreeting = "Willkommen in der Testwelt";
// Generous for a loaded two-core machine and sanitizer builds; a blocking client stalls
// for the whole storm, seconds at least.
constexpr qint64 kMaxStallMs = 1500;
constexpr long kMaxGrowthKb = 200 * 1024;

QByteArray Iac(std::initializer_list<int> bytes)
{
    QByteArray out;
    for (int b : bytes)
        out += char(b);
    return out;
}

double ThreadCpuSeconds()
{
    rusage u{};
    getrusage(RUSAGE_THREAD, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + (u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

struct Storm {
    bool Done = false;
    qint64 LongestStallMs = 0;
    long GrowthKb = 0;
};

// Runs the event loop until done() or timeoutMs, watching a heartbeat and the memory.
Storm Weather(const std::function<bool()>& done, int timeoutMs)
{
    Storm s;
    QElapsedTimer clock;
    clock.start();
    const long base = Loopback::ResidentKb();
    long peak = base;
    qint64 lastBeat = 0;
    QTimer beat;
    beat.setInterval(20);
    QObject::connect(&beat, &QTimer::timeout, [&] {
        const qint64 now = clock.elapsed();
        s.LongestStallMs = qMax(s.LongestStallMs, now - lastBeat);
        lastBeat = now;
        peak = qMax(peak, Loopback::ResidentKb());
    });
    beat.start();
    while (!(s.Done = done()) && clock.elapsed() < timeoutMs)
        QTest::qWait(5);
    s.LongestStallMs = qMax(s.LongestStallMs, clock.elapsed() - lastBeat);
    s.GrowthKb = qMax(peak, Loopback::ResidentKb()) - base;
    return s;
}

// The banner leaves its last line open, so a server's first line must begin with CR LF.
bool HasLine(const TMudMainFrm& w, const QByteArray& line) { return w.FSink->FOutputLines.contains(line); }

// A client in its own program folder with a shown main window.
struct Client {
    TempProgramFolder folder;
    ScriptedPrompts prompts;
    TMudMainFrm w{prompts};

    Client()
    {
        w.show();
        if (!QTest::qWaitForWindowExposed(&w))
            qWarning("the main window was not exposed; painting is not exercised");
    }

    // Hidden while whole: destroying a shown window lets its focus handler run on a
    // half-destroyed window.
    ~Client() { w.hide(); }

    void Connect(quint16 port)
    {
        w.Telnet->SetHost("127.0.0.1");
        w.Telnet->SetPort(QByteArray::number(port));
        w.Telnet->Connect();
    }

    qint64 BytesRead() const { return w.Telnet->Socket() ? w.Telnet->Socket()->ReadCount() : 0; }
};

} // namespace

class TestHostileServers : public QObject {
    Q_OBJECT

private:
    // The storm must pass without a stall or growth, and the next server must be reached.
    void CheckWeatheredAndReconnect(Client& c, const Storm& storm, const char* what)
    {
        qInfo("%s: longest stall %lld ms, memory growth %ld kB", what, storm.LongestStallMs, storm.GrowthKb);
        QVERIFY2(storm.Done, what);
        QVERIFY2(storm.LongestStallMs < kMaxStallMs,
                 qPrintable(QStringLiteral("%1: event loop stalled for %2 ms").arg(what).arg(storm.LongestStallMs)));
        QVERIFY2(storm.GrowthKb < kMaxGrowthKb,
                 qPrintable(QStringLiteral("%1: memory grew by %2 kB").arg(what).arg(storm.GrowthKb)));
        QVERIFY(c.w.FSink->FOutputLines.size() <= TOutputSink::kMaxHistory + 1);

        ScriptServer good(ScriptServer::Greeting("\r\n" + kGreeting + "\r\n"));
        c.Connect(good.Port());
        QTRY_VERIFY2_WITH_TIMEOUT(HasLine(c.w, kGreeting), "the next connection shows its greeting", 10000);
        QVERIFY(c.w.Telnet->IsConnected());
        c.w.Telnet->Close();
    }

private slots:
    void longLineWithoutLineFeed()
    {
        Client c;
        const QByteArray line(1 << 20, 'x');
        ScriptServer s(ScriptServer::Greeting(line));
        c.Connect(s.Port());
        const Storm storm = Weather([&] { return c.BytesRead() >= line.size(); }, 30000);
        // Wrapped at the console's width, the line fills the rows above the cursor.
        const int row = c.w.Mudoutput->Cursor().y() - 1;
        QVERIFY(row >= 0);
        QCOMPARE(c.w.Mudoutput->RowText(row).trimmed(), QByteArray(c.w.Mudoutput->Cols(), 'x'));
        CheckWeatheredAndReconnect(c, storm, "1 MB without a line feed");
    }

    void escapeSequenceThatNeverEnds()
    {
        Client c;
        const QByteArray storm = "\x1b[" + QByteArray(100 * 1024, '1') + "\r\nnachher\r\n";
        ScriptServer s(ScriptServer::Greeting(storm));
        c.Connect(s.Port());
        const Storm weathered = Weather([&] { return HasLine(c.w, "nachher"); }, 30000);
        QVERIFY(c.w.FIncoming->FEscLength <= TIncomingText::kEscBufferMax);
        CheckWeatheredAndReconnect(c, weathered, "endless escape sequence");
    }

    void iacAtEveryBlockEdge_data()
    {
        QTest::addColumn<QList<QByteArray>>("writes");
        const QList<QByteArray> atEdges = {
            "\r\nAnfang " + Iac({255}),
            Iac({253, 24}) + "Mitte " + Iac({255}),
            Iac({253, 99}) + "A" + Iac({255}),
            Iac({255}) + "B " + Iac({255}),  // a doubled 255 cut in two is one data byte
            Iac({251, 1}) + "C " + Iac({255}),
            Iac({250, 24, 1, 255}),
            Iac({240}) + "Ende\r\n",
        };
        QTest::newRow("writes end in IAC, the next starts with the verb") << atEdges;
        QList<QByteArray> bytes;
        for (const QByteArray& w : atEdges)
            for (char b : w)
                bytes << QByteArray(1, b);
        QTest::newRow("one byte per write") << bytes;
    }

    void iacAtEveryBlockEdge()
    {
        QFETCH(QList<QByteArray>, writes);
        const QByteArray replies = Iac({255, 251, 24}) + Iac({255, 252, 99}) + Iac({255, 253, 1})
                                   + Iac({255, 250, 24, 0}) + "VT100" + Iac({255, 240});
        Client c;
        ScriptServer s([&](TTestPeer& client) {
            for (const QByteArray& w : writes) {
                if (!client.Write(w))
                    return;
                ScriptServer::Pause(writes.size() > 10 ? 3 : 30);
            }
            client.ReadAtLeast(replies.size(), 10000);
            client.ReadUntilClosed();
        });
        c.Connect(s.Port());
        const QByteArray shown = "Anfang Mitte A\xFF" "B C Ende";
        const Storm storm =
            Weather([&] { return s.Received().size() >= replies.size() && HasLine(c.w, shown); }, 15000);
        QCOMPARE(s.Received(), replies);
        QVERIFY2(HasLine(c.w, shown), c.w.FSink->FOutputLines.mid(c.w.FSink->FOutputLines.size() - 3).join('|').constData());
        CheckWeatheredAndReconnect(c, storm, "IAC at block edges");
    }

    void tenThousandNegotiations()
    {
        constexpr int count = 10000;
        QByteArray asked, expected;
        for (int i = 0; i < count; ++i) {
            asked += Iac({255, 253, 99});
            expected += Iac({255, 252, 99});
        }
        Client c;
        ScriptServer s([&](TTestPeer& client) {
            if (!client.Write(asked + "\r\nfertig\r\n"))
                return;
            client.ReadAtLeast(expected.size(), 30000);
            client.ReadUntilClosed();
        });
        c.Connect(s.Port());
        const Storm storm =
            Weather([&] { return s.Received().size() >= expected.size() && HasLine(c.w, "fertig"); }, 30000);
        QCOMPARE(s.Received().size(), expected.size());
        QVERIFY2(s.Received() == expected, "every DO is answered with exactly one WONT");
        CheckWeatheredAndReconnect(c, storm, "10,000 negotiations");
    }

    void serverThatNeverReads()
    {
        // Answers beyond the socket's buffers have nowhere to go: they are dropped once
        // 64 KB wait, while the player's own commands still queue.
        const QByteArray asked = Iac({255, 253, 99}).repeated((8 << 20) / 3);
        Client c;
        ScriptServer s(
            [&](TTestPeer& client) {
                if (client.Write(asked))
                    client.Hold();
            },
            4096);
        c.Connect(s.Port());
        const Storm storm = Weather([&] { return c.BytesRead() >= asked.size(); }, 60000);
        const qint64 waiting = c.w.Telnet->Socket()->BufferedBytes();
        QVERIFY2(waiting > 0 && waiting <= TTnCnx::ReplyQueueLimit + 3, qPrintable(QString::number(waiting)));
        c.w.FSink->SendCommandLine("sage hallo");
        QCOMPARE(c.w.Telnet->Socket()->BufferedBytes(), waiting + 12);
        CheckWeatheredAndReconnect(c, storm, "server that never reads");
    }

    void resetInsideSubNegotiation()
    {
        Client c;
        ScriptServer s([](TTestPeer& client) {
            if (!client.Write("\r\nvor dem Abbruch\r\n" + Iac({255, 250, 24})))
                return;
            ScriptServer::Pause(300);  // the client reads it and sits inside the sub-negotiation
            client.ArmReset();
        });
        c.Connect(s.Port());
        const Storm storm = Weather([&] { return s.Finished() && !c.w.Telnet->IsConnected(); }, 15000);
        QVERIFY(HasLine(c.w, "vor dem Abbruch"));
        // A reset is an ordinary end of a connection, nothing to stop the player for.
        QVERIFY2(c.prompts.log.isEmpty(), qPrintable(c.prompts.log.join('\n')));
        CheckWeatheredAndReconnect(c, storm, "reset inside a sub-negotiation");
    }

    void serverThatNeverSends()
    {
        Client c;
        ScriptServer s([](TTestPeer& client) { client.ReadUntilClosed(); });
        c.Connect(s.Port());
        QTRY_VERIFY_WITH_TIMEOUT(c.w.Telnet->IsConnected(), 10000);
        const double cpuBefore = ThreadCpuSeconds();
        QElapsedTimer waited;
        waited.start();
        const Storm storm = Weather([&] { return waited.elapsed() >= 1500; }, 5000);
        const double cpu = ThreadCpuSeconds() - cpuBefore;
        // Waiting for a silent server must not spin; the heartbeat itself costs little.
        QVERIFY2(cpu < 0.5, qPrintable(QStringLiteral("%1 s CPU while waiting").arg(cpu)));
        QVERIFY(c.w.Telnet->IsConnected());
        CheckWeatheredAndReconnect(c, storm, "silent server");
        // Connecting elsewhere closed the silent connection instead of leaving it open.
        QTRY_VERIFY_WITH_TIMEOUT(s.ClientClosed(), 5000);
    }
};

QTEST_MAIN(TestHostileServers)
#include "tst_hostile_servers.moc"
