// The socket and the telnet component against a peer on 127.0.0.1: connection outcomes, the
// order of notifications, queued sending, peer close, error texts, replies and escaping.

#include "TableRows.h"
#include "TestLoopback.h"
#include "ThrownBy.h"
#include "ScriptedPrompts.h"
#include "net/SendChunk.h"
#include "net/TnCnx.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <tuple>
#include <unistd.h>

namespace {

constexpr int Patience = 15000;

template <class F>
QString Thrown(F action) { return ThrownBy<ESocketException>(action); }

QByteArray B(const char* s, int n) { return QByteArray(s, n); }

struct ConnectRow {
    const char* name;
    QByteArray proto, addr;  // addr empty: a port on 127.0.0.1 that refuses
    QString connected, thrown;
};
const ConnectRow kConnects[] = {
    {"refused", "tcp", {}, "connected 10061", ""},
    {"unreachable at once", "tcp", "255.255.255.255", "connected 10051", ""},
    {"broadcast without permission", "udp", "255.255.255.255", "",
     "Error 10013 in function Connect\r\nPermission denied"},
};

struct QueueRow {
    const char* name;
    int size, bytesPerTurn, receiveBuffer;  // bytesPerTurn: taken by the peer per event-loop turn
};
const QueueRow kQueues[] = {
    {"4000 bytes to a slow reader", 4000, 300, 1000},
    {"4000 bytes, all taken at once", 4000, 4000, 0},
    {"the most that may wait, in one Send", int(TWSocket::MaxBuffered), 256 * 1024, 0},
};

struct PeerCloseRow {
    const char* name;
    bool reset;
    int size, lastRead;
    QString closed;
};
const PeerCloseRow kPeerCloses[] = {
    {"sends and closes at once", false, 50000, 0, "closed 0"},
    {"reset", true, 0, -1, "closed 10054"},
};

const QByteArray kBye = "Auf Wiedersehen!\r\n";
struct TelnetCloseRow {
    const char* name;
    QByteArray sent;
    bool reset;
    QByteArray data;
    QList<QByteArray> displays;
    QString closed;
};
const TelnetCloseRow kTelnetCloses[] = {
    {"closed", kBye, false, kBye, {"\r\n**** Remote has closed ****\r\n"}, "closed 0"},
    {"reset", kBye, true, kBye, {"\r\n**** ERROR: 10054 ****\r\n"}, "closed 10054"},
    // The reply to DO 99 finds the connection reset: the read is not parsed on.
    {"reset found by a reply", B("vorher\xFF\xFD\x63nachher\xFF\xFB\x01", 19), true, "vorher", {},
     "closed 0"},
};

// One socket with every notification written down in order, and its far end.
struct TConn {
    TTestListener listener;
    TTestPeer peer;
    TWSocket s;
    QStringList events;
    QByteArray data;
    QList<int> reads;  // what each Receive returned
    int closedCount = 0;
    int dataAtClose = -1;

    TConn()
    {
        static const char* const names[] = {"wsInvalidState", "wsOpened",    "wsBound",
                                            "wsConnecting",   "wsConnected", "wsAccepting",
                                            "wsListening",    "wsClosed"};
        s.OnChangeState = [this](TWSocket*, TSocketState, TSocketState n) {
            events << QString("state ") + names[n];
        };
        s.OnSessionConnected = [this](TWSocket*, quint16 e) { events << QString("connected %1").arg(e); };
        s.OnSessionClosed = [this](TWSocket*, quint16 e) {
            events << QString("closed %1").arg(e);
            ++closedCount;
            dataAtClose = int(data.size());
        };
        s.OnDataAvailable = [this](TWSocket* sender, quint16) { Take(sender); };
    }
    void Take(TWSocket* sender)
    {
        char block[2048];
        reads << sender->Receive(block, sizeof block);
        if (reads.last() > 0)
            data.append(block, reads.last());
    }
    void Start(quint16 port)
    {
        s.SetPort(QByteArray::number(port));
        s.SetAddr("127.0.0.1");
        s.Connect();
    }
    // Connects to the listener and waits until both ends see the connection.
    bool Open()
    {
        const qsizetype before = events.count("connected 0");
        Start(listener.Port());
        peer.Attach(listener.Accept());
        return QTest::qWaitFor([&] { return events.count("connected 0") > before; }, Patience);
    }
};

// A telnet component with everything it hands out written down.
struct TSession {
    TTestListener listener;
    TTestPeer peer;
    TTnCnx t;
    QStringList events;
    QByteArray data;
    QByteArray lateData;  // handed on after the session-closed notification
    QList<QByteArray> displays;
    bool terminated = true;

    TSession()
    {
        t.OnSessionConnected = [this](TTnCnx*, quint16 e) { events << QString("connected %1").arg(e); };
        t.OnSessionClosed = [this](TTnCnx*, quint16 e) { events << QString("closed %1").arg(e); };
        t.OnDataAvailable = [this](TTnCnx*, const char* b, int len) {
            if (!events.isEmpty() && events.last().startsWith("closed"))
                lateData.append(b, len);
            data.append(b, len);
            terminated = terminated && b[len] == '\0';
        };
        t.OnDisplay = [this](TTnCnx*, const QByteArray& s) { displays << s; };
    }
    bool Open(TTestPeer& to)
    {
        t.SetHost("127.0.0.1");
        t.SetPort(QByteArray::number(listener.Port()));
        const qsizetype before = events.count("connected 0");
        t.Connect();
        to.Attach(listener.Accept());
        return QTest::qWaitFor([&] { return events.count("connected 0") == before + 1; }, Patience)
               && t.IsConnected();
    }
    bool Open() { return Open(peer); }
};

} // namespace

class TestNetSocket : public QObject {
    Q_OBJECT
private slots:
    void portAndAddrConversion_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("port");  // -1: the SetPort message is expected
        QTest::newRow("number") << QByteArray("23") << 23;
        QTest::newRow("service name with blanks") << QByteArray("  ftp ") << 21;
        QTest::newRow("unknown service") << QByteArray("no-such-service") << -1;
        QTest::newRow("huge number does not overflow") << QByteArray("99999999999999999999") << -1;
    }
    void portAndAddrConversion()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, port);
        TWSocket s;
        if (port < 0) {
            QCOMPARE(Thrown([&] { s.SetPort(text); }),
                     "SetPort: Cannot convert port '" + QString::fromLatin1(text) + "'");
            QCOMPARE(Thrown([&] { s.SetAddr("no-such-host.invalid"); }),
                     QString("SetAddr: Cannot convert host address 'no-such-host.invalid'"));
            s.SetAddr("127.0.0.1");
            QCOMPARE(Thrown([&] { s.Connect(); }), QString("Connect: No Port Specified"));
            QCOMPARE(s.State(), wsClosed);
            int onError = 0;
            s.OnError = [&](TWSocket*) { ++onError; };
            QCOMPARE(s.Send("x", 1), -1);
            QCOMPARE(onError, 1);
        } else {
            s.SetPort(text);
            QCOMPARE(int(s.PortNo()), port);
            QCOMPARE(s.Port(), text);
        }
    }

    // Every outcome of an attempt that can finish later arrives as OnSessionConnected, even
    // when the system knows it at once.
    void connectOutcomes_data() { AddTableRows(kConnects); }
    void connectOutcomes()
    {
        const ConnectRow& r = TableRow(kConnects);
        TTestListener refusing(false);
        TConn c;
        c.s.SetProto(r.proto);
        c.s.SetPort(QByteArray::number(refusing.Port()));
        c.s.SetAddr(r.addr.isEmpty() ? QByteArray("127.0.0.1") : r.addr);
        QCOMPARE(Thrown([&] { c.s.Connect(); }),
                 r.thrown.isEmpty() ? QString("(nothing thrown)") : r.thrown);
        if (!r.thrown.isEmpty())
            return;
        QCOMPARE(c.s.State(), wsConnecting);
        QTRY_COMPARE_WITH_TIMEOUT(c.closedCount, 1, Patience);
        QCOMPARE(c.events, QStringList({"state wsOpened", "state wsConnecting", "state wsConnected",
                                        r.connected, "state wsClosed", "closed 0"}));
        QCOMPARE(c.s.State(), wsClosed);
        QCOMPARE(c.s.ReadCount() + c.s.BufferedBytes(), 0);
    }

    void sendRefusedWhileClosedSettersAndConnectWhileOpen()
    {
        TConn c;
        QCOMPARE(Thrown([&] { c.s.Send("x", 1); }),
                 QString("Error 10057 in function Send\r\nSocket is not connected"));
        QCOMPARE(c.s.State(), wsClosed);
        QCOMPARE(c.closedCount, 0);
        c.Start(c.listener.Port());
        QCOMPARE(Thrown([&] { c.s.Connect(); }), QString("Connect: Socket already in use"));
        c.peer.Attach(c.listener.Accept());
        QTRY_VERIFY_WITH_TIMEOUT(c.events.contains("connected 0"), Patience);
        QCOMPARE(Thrown([&] { c.s.SetPort("24"); }), QString("Cannot change Port if not closed"));
        QCOMPARE(Thrown([&] { c.s.SetAddr("127.0.0.2"); }), QString("Cannot change Addr if not closed"));
        QCOMPARE(Thrown([&] { c.s.SetProto("udp"); }), QString("Cannot change Proto if not closed"));
        QCOMPARE(c.s.State(), wsConnected);
    }

    // Close forgets port, address, what was read and what still waited to be sent: the
    // next connection starts empty.
    void closeForgetsTheConnection()
    {
        TConn c;
        QVERIFY(c.Open());
        QVERIFY(c.peer.Write("alt"));
        QTRY_COMPARE_WITH_TIMEOUT(c.data, QByteArray("alt"), Patience);
        const QByteArray block = Pattern(64 * 1024);  // sent until the peer's window is full
        for (int i = 0; i < 1000 && c.s.BufferedBytes() == 0; ++i)
            c.s.Send(block.constData(), int(block.size()));
        QVERIFY(c.s.BufferedBytes() > 0);
        QCOMPARE(c.s.ReadCount(), 3);
        c.s.Close();
        c.s.Close();
        QCOMPARE(c.closedCount, 1);
        QCOMPARE(c.events.last(), QString("closed 0"));
        QCOMPARE(c.s.BufferedBytes(), 0);
        QCOMPARE(c.s.ReadCount(), 0);

        QCOMPARE(Thrown([&] { c.s.Connect(); }), QString("Connect: No Port Specified"));
        c.s.SetPort(QByteArray::number(c.listener.Port()));
        QCOMPARE(Thrown([&] { c.s.Connect(); }), QString("Connect: No IP Address Specified"));
        QTRY_VERIFY_WITH_TIMEOUT((c.peer.Poll(), c.peer.SawEnd()), Patience);
        QVERIFY(c.Open());
        QVERIFY(c.peer.Write("again"));
        QTRY_COMPARE_WITH_TIMEOUT(c.data, QByteArray("altagain"), Patience);
        QCOMPARE(c.s.Send("neu", 3), 3);
        QTest::qWait(50);
        QCOMPARE((c.peer.Poll(), c.peer.Received()), QByteArray("neu"));
    }

    void queuedSendArrivesWholeAndInOrder_data() { AddTableRows(kQueues); }
    void queuedSendArrivesWholeAndInOrder()
    {
        const QueueRow& r = TableRow(kQueues);
        TConn c;
        QList<int> dataSent;
        c.s.OnDataSent = [&](TWSocket*, quint16 e) { dataSent << e; };
        QVERIFY(c.Open());
        if (r.receiveBuffer > 0)
            c.peer.SetReceiveBuffer(r.receiveBuffer);
        const QByteArray sent = Pattern(r.size);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(c.s.Send(sent.constData(), r.size), r.size);
        QVERIFY2(clock.elapsed() < 5000, "Send waited for the network");
        if (r.bytesPerTurn == r.size)  // the network takes it all: every chunk goes out at once
            QCOMPARE(c.s.BufferedBytes(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(c.peer.Poll(r.bytesPerTurn), r.size, 60000);
        QVERIFY(c.peer.Received() == sent);
        QTRY_VERIFY_WITH_TIMEOUT(!dataSent.isEmpty() && dataSent.count(0) == dataSent.size(), Patience);
    }

    // A subscriber that reads is called once per arrival; one that leaves the bytes
    // waiting is not called again until it reads.
    void dataNotificationPerArrival()
    {
        TConn c;
        bool reading = true;
        c.s.OnDataAvailable = [&](TWSocket* sender, quint16) {
            if (reading)
                c.Take(sender);
            else
                c.reads << -2;
        };
        QVERIFY(c.Open());
        QVERIFY(c.peer.Write("abc"));
        QTRY_COMPARE_WITH_TIMEOUT(c.data, QByteArray("abc"), Patience);
        QTest::qWait(50);
        QCOMPARE(c.reads, QList<int>{3});
        reading = false;
        QVERIFY(c.peer.Write("d"));
        QTRY_COMPARE_WITH_TIMEOUT(c.reads.size(), 2, Patience);
        QTest::qWait(100);
        QCOMPARE(c.reads, QList<int>({3, -2}));
        char d = 0;
        QCOMPARE(c.s.Receive(&d, 1), 1);
        QCOMPARE(d, 'd');
    }

    void peerCloseDeliversAllThenClosesOnce_data() { AddTableRows(kPeerCloses); }
    void peerCloseDeliversAllThenClosesOnce()
    {
        const PeerCloseRow& r = TableRow(kPeerCloses);
        TConn c;
        QVERIFY(c.Open());
        const QByteArray sent = Pattern(r.size);
        QVERIFY(c.peer.Write(sent));
        if (r.reset)
            c.peer.ArmReset();
        c.peer.Close();
        QTRY_COMPARE_WITH_TIMEOUT(c.closedCount, 1, Patience);
        QCOMPARE(c.dataAtClose, sent.size());
        QVERIFY(c.data == sent);
        QCOMPARE(c.reads.last(), r.lastRead);
        QCOMPARE(c.events.mid(c.events.size() - 2), QStringList({r.closed, "state wsClosed"}));
        QTest::qWait(50);
        QCOMPARE(c.closedCount, 1);
    }

    // Sending into a connection the peer has reset closes it quietly.
    void sendAfterPeerResetCloses()
    {
        TConn c;
        QVERIFY(c.Open());
        c.peer.ArmReset();
        c.peer.Close();
        ScriptServer::Pause(100);  // the reset arrives; the event loop does not see it
        QCOMPARE(Thrown([&] { c.s.Send("x", 1); }), QString("(nothing thrown)"));
        QCOMPARE(c.s.State(), wsClosed);
        QCOMPARE(c.events.last(), QString("closed 0"));
    }

    void peerThatNeverReadsBoundsTheQueue()
    {
        for (bool subscribed : {true, false}) {
            TConn c;
            QVERIFY(c.Open());
            if (!subscribed)
                c.s.OnSessionClosed = nullptr;
            const QByteArray block = Pattern(64 * 1024);
            QString thrown;
            qint64 most = 0;
            for (int i = 0; i < 1000 && (thrown = Thrown([&] { c.s.Send(block.constData(), int(block.size())); }))
                                            == "(nothing thrown)"; ++i)
                most = qMax(most, c.s.BufferedBytes());
            QCOMPARE(thrown, QString("Error 10055 in function Send\r\nNo buffer space available"));
            QVERIFY(most > TWSocket::MaxBuffered - block.size() && most <= TWSocket::MaxBuffered);
            QCOMPARE(c.events.last(), QString("state wsClosed"));
            QCOMPARE(c.closedCount, subscribed ? 1 : 0);
            if (subscribed)
                QCOMPARE(c.events.mid(c.events.size() - 2), QStringList({"closed 10055", "state wsClosed"}));
            QCOMPARE(c.s.BufferedBytes(), 0);
        }
    }

    void floodLeavesRoomForTimers()
    {
        TConn c;
        int receivedWhenTimerFired = -1;
        bool timerStarted = false;
        // A slow reader (as a console drawing every block is) with data always waiting.
        c.s.OnDataAvailable = [&](TWSocket* sender, quint16) {
            if (!timerStarted) {
                timerStarted = true;
                QTimer::singleShot(20, [&] { receivedWhenTimerFired = int(c.data.size()); });
            }
            c.Take(sender);
            ::usleep(400);
        };
        QVERIFY(c.Open());
        const QByteArray sent = Pattern(1500 * 1024);
        std::thread flood([&] {
            c.peer.Write(sent);
            c.peer.Close();
        });
        QTRY_COMPARE_WITH_TIMEOUT(c.closedCount, 1, 60000);
        flood.join();
        QVERIFY(c.data == sent);
        QVERIFY2(receivedWhenTimerFired >= 0 && receivedWhenTimerFired < sent.size(),
                 qPrintable(QString("timer fired after %1 bytes").arg(receivedWhenTimerFired)));
    }

    void exceptionInHandlerEndsInMessageBox()
    {
        ScriptedPrompts prompts;
        TConn c;
        c.s.OnSessionConnected = [](TWSocket*, quint16) { throw ESocketException("boom"); };
        c.Start(c.listener.Port());
        c.peer.Attach(c.listener.Accept());
        QTRY_COMPARE_WITH_TIMEOUT(prompts.log, QStringList{"Error: boom"}, Patience);
        // The connection and the event loop carry on, past a data handler that fails too.
        bool failOnce = true;
        c.s.OnDataAvailable = [&](TWSocket* sender, quint16) {
            c.Take(sender);
            if (std::exchange(failOnce, false))
                throw std::runtime_error("handler failed");
        };
        QVERIFY(c.peer.Write("first"));
        QTRY_VERIFY_WITH_TIMEOUT(!failOnce, Patience);
        QVERIFY(c.peer.Write("next"));
        QTRY_COMPARE_WITH_TIMEOUT(c.data, QByteArray("firstnext"), Patience);
        QCOMPARE(prompts.log.size(), 1);
    }

    void errorTexts()
    {
        // errno, or -1 for "code given directly"; code; text
        const std::tuple<int, int, QString> rows[] = {
            {ECONNREFUSED, 10061, "Connection refused"},
            {EINPROGRESS, 10035, "Operation would block"}, // in progress is would block
            {EPIPE, 10054, "Connection reset by peer"},    // broken pipe is a reset
            {EIO, EIO, "Not a WinSock error"},             // no errno counterpart
            {-1, 0, "No Error"},
            {-1, 11004, "No Data"}, // resolver
        };
        for (const auto& [err, code, text] : rows) {
            if (err >= 0)
                QCOMPARE(SocketErrors::FromErrno(err), code);
            QCOMPARE(QString::fromLatin1(SocketErrors::Description(code)), text);
        }
    }

    void sendChunkFillsAndRecycles()
    {
        TSendChunk chunk(0);
        const QByteArray data = Pattern(2000);
        QCOMPARE(chunk.Write(data.constData(), 2000), 1514);
        QCOMPARE(chunk.Write(data.constData(), 10), 0);
        QCOMPARE(chunk.Remove(1000), 1000);
        int len = 0;
        const char* head = chunk.Peek(len);
        QVERIFY(QByteArray(head, len) == data.mid(1000, 514));
        QCOMPARE(chunk.Remove(9999), 514);
        QVERIFY(chunk.Peek(len) == nullptr);
        // Once drained it takes a full load again.
        QCOMPARE(chunk.Write(data.constData(), 2000), 1514);
    }

    // The telnet component: replies on the wire, data handed on, the echo followed.
    void telnetNegotiatesAndDelivers()
    {
        TSession s;
        QVERIFY(s.Open());
        QVERIFY(s.peer.Write(B("\xFF\xFD\x18Hallo\r\nWelt\r\n\xFF\xFA\x18\x01\xFF\xF0", 22)));
        QTRY_COMPARE_WITH_TIMEOUT(s.data, QByteArray("Hallo\r\nWelt\r\n"), Patience);
        QVERIFY(s.terminated);
        const QByteArray expected = B("\xFF\xFB\x18\xFF\xFA\x18\x00VT100\xFF\xF0", 14);
        QTRY_COMPARE_WITH_TIMEOUT(s.peer.Poll(), int(expected.size()), Patience);
        QCOMPARE(s.peer.Received(), expected);
        QVERIFY(s.peer.Write(B("\xFF\xFC\x01", 3)));
        QTRY_VERIFY_WITH_TIMEOUT(s.t.LocalEcho(), Patience);
        // Sent data has IAC doubled.
        const QByteArray line("sage \xFF" "es\r\n");
        QCOMPARE(s.t.SendText(line), int(line.size()));
        QCOMPARE(s.t.Send("\xFF", 1), 1);
        const QByteArray wire = expected + "sage \xFF\xFF" "es\r\n\xFF\xFF";
        QTRY_COMPARE_WITH_TIMEOUT(s.peer.Poll(), int(wire.size()), Patience);
        QCOMPARE(s.peer.Received(), wire);
    }

    void telnetPeerCloseIsShownAndReportedOnce_data() { AddTableRows(kTelnetCloses); }
    void telnetPeerCloseIsShownAndReportedOnce()
    {
        const TelnetCloseRow& r = TableRow(kTelnetCloses);
        TSession s;
        QVERIFY(s.Open());
        QVERIFY(s.peer.Write(r.sent));
        if (r.reset)
            s.peer.ArmReset();
        s.peer.Close();
        QTRY_VERIFY_WITH_TIMEOUT(s.events.contains(r.closed), Patience);
        QCOMPARE(s.data, r.data);
        QCOMPARE(s.lateData, QByteArray());
        QCOMPARE(s.displays, r.displays);
        QVERIFY(!s.t.IsConnected() && !s.t.RemoteEcho());
        s.t.Close();
        QTest::qWait(50);
        QCOMPARE(s.events.count(r.closed), 1);
        QCOMPARE(s.events.size(), 2);
    }

    // Connect starts the parser afresh, keeps what was agreed, and closes an open session.
    void telnetConnectStartsAfresh()
    {
        TSession s;
        QVERIFY(s.Open());
        QVERIFY(s.peer.Write(B("\xFF\xFB\x03text\xFF", 8)));  // the last command is cut off
        QTRY_COMPARE_WITH_TIMEOUT(s.data, QByteArray("text"), Patience);
        TTestPeer second;
        QVERIFY(s.Open(second));
        QCOMPARE(s.events, QStringList({"connected 0", "closed 0", "connected 0"}));
        QTRY_VERIFY_WITH_TIMEOUT((s.peer.Poll(), s.peer.SawEnd()), Patience);
        QVERIFY(second.Write(B("\xFB\x01ok", 4)));
        QTRY_COMPARE_WITH_TIMEOUT(s.data, B("text\xFB\x01ok", 8), Patience);
        QTest::qWait(50);
        QCOMPARE(second.Poll(), 0);  // no DO ECHO for a WILL that was never sent
        QVERIFY(s.t.GoAheadSuppressed());
    }

    void telnetRefusedUnresolvableAndWithoutSocket()
    {
        TTestListener refusing(false);
        TSession s;
        s.t.SetHost("127.0.0.1");
        s.t.SetPort(QByteArray::number(refusing.Port()));
        s.t.Connect();
        QTRY_COMPARE_WITH_TIMEOUT(s.events, QStringList({"connected 10061", "closed 0"}), Patience);
        QVERIFY(!s.t.IsConnected());
        QCOMPARE(s.t.Socket()->ReadCount() + s.t.Socket()->BufferedBytes(), 0);
        s.t.SetHost("no-such-host.invalid");
        QCOMPARE(Thrown([&] { s.t.Connect(); }),
                 QString("SetAddr: Cannot convert host address 'no-such-host.invalid'"));
        QCOMPARE(s.t.Socket()->State(), wsClosed);
        QCOMPARE(Thrown([&] { s.t.SendText("look\r\n"); }),
                 QString("Error 10057 in function Send\r\nSocket is not connected"));
        delete s.t.Socket();
        QCOMPARE(s.t.SendText("x"), -1);
        QVERIFY(!s.t.IsConnected());
        s.t.SetHost("127.0.0.1");
        s.t.Connect();
        s.t.Close();
    }
};

QTEST_GUILESS_MAIN(TestNetSocket)
#include "tst_net_socket.moc"
