// The socket against a peer on 127.0.0.1: connection outcomes, the order of
// notifications, queued sending, peer close and the errors the user gets to see.

#include "ScriptedPrompts.h"
#include "TestPeer.h"
#include "net/SendChunk.h"
#include "net/WSocket.h"

#include <QElapsedTimer>
#include <QTest>
#include <QTimer>

#include <cerrno>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

constexpr int Patience = 15000;

// One socket with every notification written down in order, and its far end.
struct TConn {
    TTestListener listener;
    TTestPeer peer;
    TWSocket s;
    QStringList events;
    QByteArray data;
    int closedCount = 0;
    int dataAtClose = -1;

    TConn()
    {
        static const char* const names[] = {"wsInvalidState", "wsOpened",  "wsBound",    "wsConnecting",
                                            "wsConnected",    "wsAccepting", "wsListening", "wsClosed"};
        s.OnChangeState = [this](TWSocket*, TSocketState, TSocketState n) { events << QString("state ") + names[n]; };
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
        const int n = sender->Receive(block, sizeof block);
        if (n > 0)
            data.append(block, n);
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
        Start(listener.Port());
        peer.Attach(listener.Accept());
        return QTest::qWaitFor([&] { return events.contains("connected 0"); }, Patience);
    }
};

template <class F>
QString Thrown(F action) { return ThrownBy<ESocketException>(action); }

} // namespace

class TestWSocket : public QObject {
    Q_OBJECT
private slots:
    void portConversion_data();
    void portConversion();
    void protoAndAddrConversion();
    void refusedPortReportsAndCloses();
    void settersAndConnectRefusedWhileOpen();
    void closeTwiceAndConnectAfterClose();
    void sendWhileNotConnected();
    void queuedSendArrivesWholeAndInOrder_data();
    void queuedSendArrivesWholeAndInOrder();
    void peerCloseDeliversAllThenClosesOnce_data();
    void peerCloseDeliversAllThenClosesOnce();
    void peerThatNeverReadsBoundsTheQueue();
    void floodLeavesRoomForTimers();
    void exceptionInHandlerEndsInMessageBox();
    void errorTexts_data();
    void errorTexts();
    void sendChunkFillsAndRecycles();
};

void TestWSocket::portConversion_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<int>("port");  // -1: the SetPort message is expected
    QTest::newRow("number") << QByteArray("23") << 23;
    QTest::newRow("service name with blanks") << QByteArray("  ftp ") << 21;
    QTest::newRow("unknown service") << QByteArray("no-such-service") << -1;
    QTest::newRow("huge number does not overflow") << QByteArray("99999999999999999999") << -1;
}

void TestWSocket::portConversion()
{
    QFETCH(QByteArray, text);
    QFETCH(int, port);
    TWSocket s;
    if (port < 0) {
        QCOMPARE(Thrown([&] { s.SetPort(text); }),
                 "SetPort: Cannot convert port '" + QString::fromLatin1(text) + "'");
        s.SetAddr("127.0.0.1");
        QCOMPARE(Thrown([&] { s.Connect(); }), QString("Connect: No Port Specified"));
    } else {
        s.SetPort(text);
        QCOMPARE(int(s.PortNo()), port);
        QCOMPARE(s.Port(), text);
    }
}

void TestWSocket::protoAndAddrConversion()
{
    TWSocket s;
    QCOMPARE(Thrown([&] { s.SetProto("no-such-proto"); }),
             QString("SetProto: Cannot convert protocol 'no-such-proto'"));
    s.SetProto("tcp");
    QCOMPARE(Thrown([&] { s.SetAddr("no-such-host.invalid"); }),
             QString("SetAddr: Cannot convert host address 'no-such-host.invalid'"));
    QCOMPARE(s.State(), wsClosed);
    // An unknown host is thrown even to a socket that reports other errors through OnError.
    int onError = 0;
    s.OnError = [&](TWSocket*) { ++onError; };
    QCOMPARE(Thrown([&] { s.SetAddr(" "); }), QString("SetAddr: Cannot convert host address ' '"));
    s.SetPort("x-unknown");
    QCOMPARE(onError, 1);
}

void TestWSocket::refusedPortReportsAndCloses()
{
    TTestListener refusing(false);
    TConn c;
    c.Start(refusing.Port());
    QCOMPARE(c.s.State(), wsConnecting);
    QTRY_COMPARE_WITH_TIMEOUT(c.closedCount, 1, Patience);
    QCOMPARE(c.events, QStringList({"state wsOpened", "state wsConnecting", "state wsConnected",
                                    "connected 10061", "state wsClosed", "closed 0"}));
    QCOMPARE(c.s.State(), wsClosed);
}

void TestWSocket::settersAndConnectRefusedWhileOpen()
{
    TConn c;
    c.Start(c.listener.Port());
    QCOMPARE(Thrown([&] { c.s.Connect(); }), QString("Connect: Socket already in use"));
    c.peer.Attach(c.listener.Accept());
    QTRY_VERIFY_WITH_TIMEOUT(c.events.contains("connected 0"), Patience);
    QCOMPARE(Thrown([&] { c.s.SetPort("24"); }), QString("Cannot change Port if not closed"));
    QCOMPARE(Thrown([&] { c.s.SetAddr("127.0.0.2"); }), QString("Cannot change Addr if not closed"));
    QCOMPARE(Thrown([&] { c.s.SetProto("udp"); }), QString("Cannot change Proto if not closed"));
    QCOMPARE(c.s.State(), wsConnected);
}

void TestWSocket::closeTwiceAndConnectAfterClose()
{
    TConn c;
    QVERIFY(c.Open());
    c.s.Close();
    c.s.Close();
    QCOMPARE(c.closedCount, 1);
    QCOMPARE(c.events.last(), QString("closed 0"));
    QTRY_VERIFY_WITH_TIMEOUT((c.peer.Poll(), c.peer.SawEnd()), Patience);

    // Close forgets port and address; they must be given again.
    QCOMPARE(Thrown([&] { c.s.Connect(); }), QString("Connect: No Port Specified"));
    c.s.SetPort(QByteArray::number(c.listener.Port()));
    QCOMPARE(Thrown([&] { c.s.Connect(); }), QString("Connect: No IP Address Specified"));
    c.s.SetAddr("127.0.0.1");
    c.s.Connect();
    c.peer.Attach(c.listener.Accept());
    QTRY_COMPARE_WITH_TIMEOUT(c.events.count("connected 0"), 2, Patience);
    QVERIFY(c.peer.Write("again"));
    QTRY_COMPARE_WITH_TIMEOUT(c.data, QByteArray("again"), Patience);
}

void TestWSocket::sendWhileNotConnected()
{
    TConn c;
    QCOMPARE(Thrown([&] { c.s.Send("x", 1); }),
             QString("Error 10057 in function Send\r\nSocket is not connected"));
    QCOMPARE(c.s.State(), wsClosed);
    QCOMPARE(c.closedCount, 0);
    int onError = 0;
    c.s.OnError = [&](TWSocket*) { ++onError; };
    QCOMPARE(c.s.Send("x", 1), -1);
    QCOMPARE(onError, 1);
}

void TestWSocket::queuedSendArrivesWholeAndInOrder_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("bytesPerTurn");  // how much the peer takes per event-loop turn
    QTest::addColumn<int>("receiveBuffer");
    QTest::newRow("4000 bytes to a slow reader") << 4000 << 300 << 1000;
    QTest::newRow("the most that may wait, in one Send") << int(TWSocket::MaxBuffered) << 256 * 1024 << 0;
}

void TestWSocket::queuedSendArrivesWholeAndInOrder()
{
    QFETCH(int, size);
    QFETCH(int, bytesPerTurn);
    QFETCH(int, receiveBuffer);
    TConn c;
    int dataSent = 0;
    c.s.OnDataSent = [&](TWSocket*, quint16) { ++dataSent; };
    QVERIFY(c.Open());
    if (receiveBuffer > 0)
        c.peer.SetReceiveBuffer(receiveBuffer);
    const QByteArray sent = Pattern(size);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(c.s.Send(sent.constData(), size), size);
    QVERIFY2(clock.elapsed() < 5000, "Send waited for the network");
    QTRY_COMPARE_WITH_TIMEOUT(c.peer.Poll(bytesPerTurn), size, 60000);
    QVERIFY(c.peer.Received == sent);
    QTRY_VERIFY_WITH_TIMEOUT(dataSent >= 1, Patience);
}

void TestWSocket::peerCloseDeliversAllThenClosesOnce_data()
{
    QTest::addColumn<bool>("reset");
    QTest::addColumn<int>("size");
    QTest::addColumn<QString>("closed");
    QTest::newRow("sends and closes at once") << false << 50000 << "closed 0";
    QTest::newRow("reset") << true << 0 << "closed 10054";
}

void TestWSocket::peerCloseDeliversAllThenClosesOnce()
{
    QFETCH(bool, reset);
    QFETCH(int, size);
    QFETCH(QString, closed);
    TConn c;
    QVERIFY(c.Open());
    const QByteArray sent = Pattern(size);
    QVERIFY(c.peer.Write(sent));
    if (reset) {
        const linger abortive{1, 0};
        ::setsockopt(c.peer.Fd(), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    }
    c.peer.Close();
    QTRY_COMPARE_WITH_TIMEOUT(c.closedCount, 1, Patience);
    QCOMPARE(c.dataAtClose, sent.size());
    QVERIFY(c.data == sent);
    QCOMPARE(c.events.mid(c.events.size() - 2), QStringList({closed, "state wsClosed"}));
    QTest::qWait(50);
    QCOMPARE(c.closedCount, 1);
}

void TestWSocket::peerThatNeverReadsBoundsTheQueue()
{
    TConn c;
    QVERIFY(c.Open());
    const QByteArray block = Pattern(64 * 1024);
    QString thrown;
    qint64 most = 0;
    for (int i = 0; i < 1000 && (thrown = Thrown([&] { c.s.Send(block.constData(), int(block.size())); }))
                                    == "(nothing thrown)"; ++i)
        most = qMax(most, c.s.BufferedBytes());
    QCOMPARE(thrown, QString("Error 10055 in function Send\r\nNo buffer space available"));
    QVERIFY(most > TWSocket::MaxBuffered - block.size() && most <= TWSocket::MaxBuffered);
    QCOMPARE(c.events.mid(c.events.size() - 2), QStringList({"closed 10055", "state wsClosed"}));
    QCOMPARE(c.closedCount, 1);
    QCOMPARE(c.s.BufferedBytes(), 0);
}

void TestWSocket::floodLeavesRoomForTimers()
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

void TestWSocket::exceptionInHandlerEndsInMessageBox()
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

void TestWSocket::errorTexts_data()
{
    QTest::addColumn<int>("err");  // errno, or -1 for "code given directly"
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("refused") << ECONNREFUSED << 10061 << "Connection refused";
    QTest::newRow("in progress is would block") << EINPROGRESS << 10035 << "Operation would block";
    QTest::newRow("broken pipe is a reset") << EPIPE << 10054 << "Connection reset by peer";
    QTest::newRow("no errno counterpart") << EIO << EIO << "Not a WinSock error";
    QTest::newRow("no error") << -1 << 0 << "No Error";
    QTest::newRow("resolver") << -1 << 11004 << "No Data";
}

void TestWSocket::errorTexts()
{
    QFETCH(int, err);
    QFETCH(int, code);
    QFETCH(QString, text);
    if (err >= 0)
        QCOMPARE(SocketErrors::FromErrno(err), code);
    QCOMPARE(QString::fromLatin1(SocketErrors::Description(code)), text);
}

void TestWSocket::sendChunkFillsAndRecycles()
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

QTEST_GUILESS_MAIN(TestWSocket)
#include "tst_WSocket.moc"
