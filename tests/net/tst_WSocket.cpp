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
#include <unistd.h>

namespace {

constexpr int Patience = 15000;

const char* StateName(TSocketState s)
{
    static const char* const names[] = {"wsInvalidState", "wsOpened",    "wsBound",
                                        "wsConnecting",   "wsConnected", "wsAccepting",
                                        "wsListening",    "wsClosed"};
    return names[s];
}

// Subscribes every notification and writes down what happened, in order.
struct TRecorder {
    QStringList events;
    QByteArray data;
    int closedCount = 0;
    int dataAtClose = -1;

    void Wire(TWSocket& s)
    {
        s.OnChangeState = [this](TWSocket*, TSocketState, TSocketState n) {
            events << QString("state %1").arg(StateName(n));
        };
        s.OnSessionConnected = [this](TWSocket*, quint16 e) { events << QString("connected %1").arg(e); };
        s.OnSessionClosed = [this](TWSocket*, quint16 e) {
            events << QString("closed %1").arg(e);
            ++closedCount;
            dataAtClose = int(data.size());
        };
        s.OnDataAvailable = [this](TWSocket* sender, quint16) {
            char block[2048];
            const int n = sender->Receive(block, sizeof block);
            if (n > 0)
                data.append(block, n);
        };
    }
};

QString ThrownBy(const std::function<void()>& action)
{
    try {
        action();
    } catch (const ESocketException& e) {
        return e.Message();
    }
    return QStringLiteral("(nothing thrown)");
}

void StartConnect(TWSocket& s, quint16 port)
{
    s.SetPort(QByteArray::number(port));
    s.SetAddr("127.0.0.1");
    s.Connect();
}

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
    void peerSendsAndClosesAtOnce();
    void peerResetClosesOnce();
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
    QTest::newRow("leading digits") << QByteArray("7600abc") << 7600;
    QTest::newRow("service name") << QByteArray("telnet") << 23;
    QTest::newRow("service name with blanks") << QByteArray("  ftp ") << 21;
    QTest::newRow("unknown service") << QByteArray("no-such-service") << -1;
    QTest::newRow("number beyond 16 bits is no port") << QByteArray("70000") << -1;
    QTest::newRow("huge number does not overflow") << QByteArray("99999999999999999999") << -1;
}

void TestWSocket::portConversion()
{
    QFETCH(QByteArray, text);
    QFETCH(int, port);
    TWSocket s;
    if (port < 0) {
        QCOMPARE(ThrownBy([&] { s.SetPort(text); }),
                 "SetPort: Cannot convert port '" + QString::fromLatin1(text) + "'");
        s.SetAddr("127.0.0.1");
        QCOMPARE(ThrownBy([&] { s.Connect(); }), QString("Connect: No Port Specified"));
    } else {
        s.SetPort(text);
        QCOMPARE(int(s.PortNo()), port);
        QCOMPARE(s.Port(), text);
    }
}

void TestWSocket::protoAndAddrConversion()
{
    TWSocket s;
    QCOMPARE(ThrownBy([&] { s.SetProto("no-such-proto"); }),
             QString("SetProto: Cannot convert protocol 'no-such-proto'"));
    s.SetProto("tcp");  // a known name assigns it again
    QCOMPARE(ThrownBy([&] { s.SetAddr("no-such-host.invalid"); }),
             QString("SetAddr: Cannot convert host address 'no-such-host.invalid'"));
    QCOMPARE(ThrownBy([&] { s.SetAddr(" "); }), QString("SetAddr: Cannot convert host address ' '"));
    QCOMPARE(s.State(), wsClosed);

    // An unknown host is thrown even to a socket that reports through OnError.
    int onError = 0;
    s.OnError = [&](TWSocket*) { ++onError; };
    QCOMPARE(ThrownBy([&] { s.SetAddr("still-no-host.invalid"); }),
             QString("SetAddr: Cannot convert host address 'still-no-host.invalid'"));
    s.SetPort("x-unknown");
    QCOMPARE(onError, 1);
}

void TestWSocket::refusedPortReportsAndCloses()
{
    TRefusingPort refusing;
    TWSocket s;
    TRecorder r;
    r.Wire(s);
    StartConnect(s, refusing.Port());
    QCOMPARE(s.State(), wsConnecting);
    QTRY_COMPARE_WITH_TIMEOUT(r.closedCount, 1, Patience);
    QCOMPARE(r.events, QStringList({"state wsOpened", "state wsConnecting", "state wsConnected",
                                    "connected 10061", "state wsClosed", "closed 0"}));
    QCOMPARE(s.State(), wsClosed);
}

void TestWSocket::settersAndConnectRefusedWhileOpen()
{
    TTestListener listener;
    TWSocket s;
    TRecorder r;
    r.Wire(s);
    StartConnect(s, listener.Port());
    QCOMPARE(ThrownBy([&] { s.Connect(); }), QString("Connect: Socket already in use"));
    TTestPeer peer(listener.Accept());
    QTRY_VERIFY_WITH_TIMEOUT(r.events.contains("connected 0"), Patience);
    QCOMPARE(ThrownBy([&] { s.SetPort("24"); }), QString("Cannot change Port if not closed"));
    QCOMPARE(ThrownBy([&] { s.SetAddr("127.0.0.2"); }), QString("Cannot change Addr if not closed"));
    QCOMPARE(ThrownBy([&] { s.SetProto("udp"); }), QString("Cannot change Proto if not closed"));
    QCOMPARE(s.State(), wsConnected);
}

void TestWSocket::closeTwiceAndConnectAfterClose()
{
    TTestListener listener;
    TWSocket s;
    TRecorder r;
    r.Wire(s);
    StartConnect(s, listener.Port());
    TTestPeer peer(listener.Accept());
    QTRY_VERIFY_WITH_TIMEOUT(r.events.contains("connected 0"), Patience);
    s.Close();
    s.Close();
    QCOMPARE(r.closedCount, 1);
    QCOMPARE(r.events.last(), QString("closed 0"));
    QCOMPARE(s.State(), wsClosed);
    QTRY_VERIFY_WITH_TIMEOUT((peer.Poll(), peer.SawEnd()), Patience);

    // Close forgets port and address; they must be given again.
    QCOMPARE(s.Port(), QByteArray());
    QCOMPARE(ThrownBy([&] { s.Connect(); }), QString("Connect: No Port Specified"));
    s.SetPort(QByteArray::number(listener.Port()));
    QCOMPARE(ThrownBy([&] { s.Connect(); }), QString("Connect: No IP Address Specified"));
    s.SetAddr("127.0.0.1");
    s.Connect();
    peer.Attach(listener.Accept());
    QTRY_COMPARE_WITH_TIMEOUT(r.events.count("connected 0"), 2, Patience);
    QVERIFY(peer.Write("again"));
    QTRY_COMPARE_WITH_TIMEOUT(r.data, QByteArray("again"), Patience);
}

void TestWSocket::sendWhileNotConnected()
{
    TWSocket s;
    TRecorder r;
    r.Wire(s);
    QCOMPARE(ThrownBy([&] { s.Send("x", 1); }),
             QString("Error 10057 in function Send\r\nSocket is not connected"));
    QCOMPARE(s.State(), wsClosed);
    QCOMPARE(r.closedCount, 0);

    int onError = 0;
    s.OnError = [&](TWSocket*) { ++onError; };
    QCOMPARE(s.Send("x", 1), -1);
    QCOMPARE(onError, 1);
}

void TestWSocket::queuedSendArrivesWholeAndInOrder_data()
{
    QTest::addColumn<int>("size");
    QTest::addColumn<int>("bytesPerTurn");  // how much the peer takes per event-loop turn
    QTest::addColumn<int>("receiveBuffer");
    QTest::newRow("4000 bytes to a slow reader") << 4000 << 300 << 1000;
    QTest::newRow("2 MB beyond every socket buffer") << 2 * 1024 * 1024 << 256 * 1024 << 0;
}

void TestWSocket::queuedSendArrivesWholeAndInOrder()
{
    QFETCH(int, size);
    QFETCH(int, bytesPerTurn);
    QFETCH(int, receiveBuffer);
    TTestListener listener;
    TWSocket s;
    TRecorder r;
    r.Wire(s);
    int dataSent = 0;
    s.OnDataSent = [&](TWSocket*, quint16) { ++dataSent; };
    StartConnect(s, listener.Port());
    TTestPeer peer(listener.Accept());
    if (receiveBuffer > 0)
        peer.SetReceiveBuffer(receiveBuffer);
    QTRY_VERIFY_WITH_TIMEOUT(r.events.contains("connected 0"), Patience);

    const QByteArray sent = Pattern(size);
    QElapsedTimer clock;
    clock.start();
    QCOMPARE(s.Send(sent.constData(), size), size);
    QVERIFY2(clock.elapsed() < 5000, "Send waited for the network");
    QTRY_COMPARE_WITH_TIMEOUT(peer.Poll(bytesPerTurn), size, 60000);
    QVERIFY(peer.Received == sent);
    QTRY_VERIFY_WITH_TIMEOUT(dataSent >= 1, Patience);
}

void TestWSocket::peerSendsAndClosesAtOnce()
{
    TTestListener listener;
    TWSocket s;
    TRecorder r;
    r.Wire(s);
    StartConnect(s, listener.Port());
    TTestPeer peer(listener.Accept());
    const QByteArray sent = Pattern(50000);
    QVERIFY(peer.Write(sent));
    peer.Close();
    QTRY_COMPARE_WITH_TIMEOUT(r.closedCount, 1, Patience);
    QCOMPARE(r.dataAtClose, sent.size());
    QVERIFY(r.data == sent);
    QCOMPARE(r.events.mid(r.events.size() - 2), QStringList({"closed 0", "state wsClosed"}));
    QTest::qWait(50);
    QCOMPARE(r.closedCount, 1);
}

void TestWSocket::peerResetClosesOnce()
{
    TTestListener listener;
    TWSocket s;
    TRecorder r;
    r.Wire(s);
    StartConnect(s, listener.Port());
    TTestPeer peer(listener.Accept());
    QTRY_VERIFY_WITH_TIMEOUT(r.events.contains("connected 0"), Patience);
    const linger abortive{1, 0};
    ::setsockopt(peer.Fd(), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    peer.Close();
    QTRY_COMPARE_WITH_TIMEOUT(r.closedCount, 1, Patience);
    QCOMPARE(r.events.mid(r.events.size() - 2), QStringList({"closed 10054", "state wsClosed"}));
}

void TestWSocket::floodLeavesRoomForTimers()
{
    TTestListener listener;
    TWSocket s;
    TRecorder r;
    r.Wire(s);
    int receivedWhenTimerFired = -1;
    bool timerStarted = false;
    // A slow reader (as a console drawing every block is) with data always waiting.
    s.OnDataAvailable = [&](TWSocket* sender, quint16) {
        if (!timerStarted) {
            timerStarted = true;
            QTimer::singleShot(20, [&] { receivedWhenTimerFired = int(r.data.size()); });
        }
        char block[2048];
        const int n = sender->Receive(block, sizeof block);
        if (n > 0)
            r.data.append(block, n);
        ::usleep(400);
    };
    StartConnect(s, listener.Port());
    TTestPeer peer(listener.Accept());
    const QByteArray sent = Pattern(1500 * 1024);
    std::thread flood([&] {
        peer.Write(sent);
        peer.Close();
    });
    QTRY_COMPARE_WITH_TIMEOUT(r.closedCount, 1, 60000);
    flood.join();
    QVERIFY(r.data == sent);
    QVERIFY2(receivedWhenTimerFired >= 0 && receivedWhenTimerFired < sent.size(),
             qPrintable(QString("timer fired after %1 bytes").arg(receivedWhenTimerFired)));
}

void TestWSocket::exceptionInHandlerEndsInMessageBox()
{
    ScriptedPrompts prompts;
    TTestListener listener;
    TWSocket s;
    TRecorder r;
    r.Wire(s);
    s.OnSessionConnected = [](TWSocket*, quint16) { throw ESocketException("boom"); };
    StartConnect(s, listener.Port());
    TTestPeer peer(listener.Accept());
    QTRY_COMPARE_WITH_TIMEOUT(prompts.log, QStringList{"Error: boom"}, Patience);
    // The connection and the event loop carry on.
    QVERIFY(peer.Write("after"));
    QTRY_COMPARE_WITH_TIMEOUT(r.data, QByteArray("after"), Patience);

    // A failing data handler is passed over; the next block is still delivered.
    bool failOnce = true;
    s.OnDataAvailable = [&](TWSocket* sender, quint16) {
        char block[64];
        const int n = sender->Receive(block, sizeof block);
        if (failOnce) {
            failOnce = false;
            throw std::runtime_error("handler failed");
        }
        if (n > 0)
            r.data.append(block, n);
    };
    QVERIFY(peer.Write("lost"));
    QTRY_VERIFY_WITH_TIMEOUT(!failOnce, Patience);
    QVERIFY(peer.Write("kept"));
    QTRY_COMPARE_WITH_TIMEOUT(r.data, QByteArray("afterkept"), Patience);
    QCOMPARE(prompts.log.size(), 1);
}

void TestWSocket::errorTexts_data()
{
    QTest::addColumn<int>("err");  // errno, or -1 for "code given directly"
    QTest::addColumn<int>("code");
    QTest::addColumn<QString>("text");
    QTest::newRow("refused") << ECONNREFUSED << 10061 << "Connection refused";
    QTest::newRow("would block") << EWOULDBLOCK << 10035 << "Operation would block";
    QTest::newRow("in progress is would block") << EINPROGRESS << 10035 << "Operation would block";
    QTest::newRow("broken pipe is a reset") << EPIPE << 10054 << "Connection reset by peer";
    QTest::newRow("not connected") << ENOTCONN << 10057 << "Socket is not connected";
    QTest::newRow("no errno counterpart") << EIO << EIO << "Not a WinSock error";
    QTest::newRow("no error") << -1 << 0 << "No Error";
    QTest::newRow("resolver") << -1 << 11004 << "No Data";
    QTest::newRow("unknown code") << -1 << 10001 << "Not a WinSock error";
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
    QCOMPARE(chunk.Capacity(), 1514);
    const QByteArray data = Pattern(2000);
    QCOMPARE(chunk.Write(data.constData(), 2000), 1514);
    QCOMPARE(chunk.Write(data.constData(), 10), 0);
    QCOMPARE(chunk.Remove(1000), 1000);
    int len = 0;
    QCOMPARE(chunk.Peek(len), chunk.Peek(len));
    QCOMPARE(len, 514);
    QVERIFY(QByteArray(chunk.Peek(len), len) == data.mid(1000, 514));
    QCOMPARE(chunk.Remove(9999), 514);
    QVERIFY(chunk.Peek(len) == nullptr);
    QCOMPARE(len, 0);
    // Once drained it takes a full load again.
    QCOMPARE(chunk.Write(data.constData(), 2000), 1514);
}

QTEST_GUILESS_MAIN(TestWSocket)
#include "tst_WSocket.moc"
