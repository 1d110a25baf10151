// The telnet component over a real connection on 127.0.0.1: notifications, replies on
// the wire, escaping of sent data, the parser starting afresh on Connect.

#include "TestPeer.h"
#include "net/TnCnx.h"

#include <QTest>

namespace {

constexpr int Patience = 15000;

struct TRecorder {
    QStringList events;
    QByteArray data;
    QList<QByteArray> displays;
    bool terminated = true;

    void Wire(TTnCnx& t)
    {
        t.OnSessionConnected = [this](TTnCnx*, quint16 e) { events << QString("connected %1").arg(e); };
        t.OnSessionClosed = [this](TTnCnx*, quint16 e) { events << QString("closed %1").arg(e); };
        t.OnDataAvailable = [this](TTnCnx*, const char* b, int len) {
            data.append(b, len);
            terminated = terminated && b[len] == '\0';
        };
        t.OnDisplay = [this](TTnCnx*, const QByteArray& s) { displays << s; };
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

QByteArray B(const char* s, int n) { return QByteArray(s, n); }

void Open(TTnCnx& t, TTestListener& listener, TTestPeer& peer, TRecorder& r)
{
    t.SetHost("127.0.0.1");
    t.SetPort(QByteArray::number(listener.Port()));
    const int before = int(r.events.count("connected 0"));
    t.Connect();
    peer.Attach(listener.Accept());
    QTRY_COMPARE_WITH_TIMEOUT(int(r.events.count("connected 0")), before + 1, Patience);
    QVERIFY(t.IsConnected());
}

} // namespace

class TestTnCnx : public QObject {
    Q_OBJECT
private slots:
    void negotiatesAndDeliversOverTheWire();
    void sentDataHasIacDoubled();
    void peerCloseIsShownAndReportedOnce();
    void connectStartsParserAfresh();
    void connectWhileOpenClosesTheOldSession();
    void refusedAndUnresolvable();
    void withoutSocket();
};

void TestTnCnx::negotiatesAndDeliversOverTheWire()
{
    TTestListener listener;
    TTestPeer peer;
    TRecorder r;
    TTnCnx t;
    r.Wire(t);
    Open(t, listener, peer, r);
    QCOMPARE(t.Port(), QByteArray::number(listener.Port()));

    QVERIFY(peer.Write(B("\xFF\xFD\x18Hallo\r\nWelt\r\n\xFF\xFA\x18\x01\xFF\xF0", 22)));
    QTRY_COMPARE_WITH_TIMEOUT(r.data, QByteArray("Hallo\r\nWelt\r\n"), Patience);
    QVERIFY(r.terminated);
    const QByteArray expected = B("\xFF\xFB\x18\xFF\xFA\x18\x00VT100\xFF\xF0", 14);
    QTRY_COMPARE_WITH_TIMEOUT(peer.Poll(), int(expected.size()), Patience);
    QCOMPARE(peer.Received, expected);
    QVERIFY(t.TerminalTypeAgreed());

    QVERIFY(peer.Write(B("\xFF\xFC\x01", 3)));
    QTRY_VERIFY_WITH_TIMEOUT(t.LocalEcho(), Patience);
}

void TestTnCnx::sentDataHasIacDoubled()
{
    TTestListener listener;
    TTestPeer peer;
    TRecorder r;
    TTnCnx t;
    r.Wire(t);
    Open(t, listener, peer, r);
    const QByteArray line("sage \xFF" "es\r\n");
    QCOMPARE(t.SendText(line), int(line.size()));
    QCOMPARE(t.Send("\xFF", 1), 1);
    const QByteArray wire("sage \xFF\xFF" "es\r\n\xFF\xFF");
    QTRY_COMPARE_WITH_TIMEOUT(peer.Poll(), int(wire.size()), Patience);
    QCOMPARE(peer.Received, wire);
    QCOMPARE(t.SendText(QByteArray()), 0);
}

void TestTnCnx::peerCloseIsShownAndReportedOnce()
{
    TTestListener listener;
    TTestPeer peer;
    TRecorder r;
    TTnCnx t;
    r.Wire(t);
    Open(t, listener, peer, r);
    QVERIFY(peer.Write("Auf Wiedersehen!\r\n"));
    peer.Close();
    QTRY_VERIFY_WITH_TIMEOUT(r.events.contains("closed 0"), Patience);
    QCOMPARE(r.data, QByteArray("Auf Wiedersehen!\r\n"));
    QCOMPARE(r.displays, QList<QByteArray>{"\r\n**** Remote has closed ****\r\n"});
    QVERIFY(!t.IsConnected());
    t.Close();
    QTest::qWait(50);
    QCOMPARE(r.events.count("closed 0"), 1);
}

void TestTnCnx::connectStartsParserAfresh()
{
    TTestListener listener;
    TTestPeer peer;
    TRecorder r;
    TTnCnx t;
    r.Wire(t);
    Open(t, listener, peer, r);
    QVERIFY(peer.Write(B("\xFF\xFB\x03text\xFF", 8)));  // the last command is cut off
    peer.Close();
    QTRY_VERIFY_WITH_TIMEOUT(r.events.contains("closed 0"), Patience);
    QCOMPARE(r.data, QByteArray("text"));

    r.data.clear();
    Open(t, listener, peer, r);
    QVERIFY(peer.Write(B("\xFB\x01ok", 4)));
    QTRY_COMPARE_WITH_TIMEOUT(r.data, B("\xFB\x01ok", 4), Patience);
    QTest::qWait(50);
    QCOMPARE(peer.Poll(), 0);  // no DO ECHO for a WILL that was never sent
    QVERIFY(t.GoAheadSuppressed());  // what was agreed before stays
}

void TestTnCnx::connectWhileOpenClosesTheOldSession()
{
    TTestListener listener;
    TTestPeer first;
    TTestPeer second;
    TRecorder r;
    TTnCnx t;
    r.Wire(t);
    Open(t, listener, first, r);
    Open(t, listener, second, r);
    QCOMPARE(r.events, QStringList({"connected 0", "closed 0", "connected 0"}));
    QTRY_VERIFY_WITH_TIMEOUT((first.Poll(), first.SawEnd()), Patience);
    QVERIFY(second.Write("zwei"));
    QTRY_COMPARE_WITH_TIMEOUT(r.data, QByteArray("zwei"), Patience);
}

void TestTnCnx::refusedAndUnresolvable()
{
    TRefusingPort refusing;
    TRecorder r;
    TTnCnx t;
    r.Wire(t);
    t.SetHost("127.0.0.1");
    t.SetPort(QByteArray::number(refusing.Port()));
    t.Connect();
    QTRY_COMPARE_WITH_TIMEOUT(r.events, QStringList({"connected 10061", "closed 0"}), Patience);
    QVERIFY(!t.IsConnected());

    t.SetHost("no-such-host.invalid");
    QCOMPARE(ThrownBy([&] { t.Connect(); }),
             QString("SetAddr: Cannot convert host address 'no-such-host.invalid'"));
    QCOMPARE(t.Socket()->State(), wsClosed);
    QCOMPARE(ThrownBy([&] { t.SendText("look\r\n"); }),
             QString("Error 10057 in function Send\r\nSocket is not connected"));
}

void TestTnCnx::withoutSocket()
{
    TTnCnx t;
    delete t.Socket();
    QVERIFY(!t.Socket());
    QCOMPARE(t.SendText("x"), -1);
    QVERIFY(!t.IsConnected());
    t.SetHost("127.0.0.1");
    t.Connect();
    t.Close();
}

QTEST_GUILESS_MAIN(TestTnCnx)
#include "tst_TnCnx.moc"
