// The telnet component over a real connection on 127.0.0.1: notifications, replies on
// the wire, escaping of sent data, the parser starting afresh on Connect.

#include "TestPeer.h"
#include "net/TnCnx.h"

#include <QTest>

#include <sys/socket.h>

namespace {

constexpr int Patience = 15000;

// A component with everything it hands out written down, and a listener to reach.
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

template <class F>
QString Thrown(F action) { return ThrownBy<ESocketException>(action); }

QByteArray B(const char* s, int n) { return QByteArray(s, n); }

} // namespace

class TestTnCnx : public QObject {
    Q_OBJECT
private slots:
    void negotiatesAndDeliversOverTheWire();
    void sentDataHasIacDoubled();
    void peerCloseIsShownAndReportedOnce_data();
    void peerCloseIsShownAndReportedOnce();
    void connectStartsParserAfresh();
    void connectWhileOpenClosesTheOldSession();
    void refusedAndUnresolvable();
    void withoutSocket();
};

void TestTnCnx::negotiatesAndDeliversOverTheWire()
{
    TSession s;
    QVERIFY(s.Open());
    QVERIFY(s.peer.Write(B("\xFF\xFD\x18Hallo\r\nWelt\r\n\xFF\xFA\x18\x01\xFF\xF0", 22)));
    QTRY_COMPARE_WITH_TIMEOUT(s.data, QByteArray("Hallo\r\nWelt\r\n"), Patience);
    QVERIFY(s.terminated);
    const QByteArray expected = B("\xFF\xFB\x18\xFF\xFA\x18\x00VT100\xFF\xF0", 14);
    QTRY_COMPARE_WITH_TIMEOUT(s.peer.Poll(), int(expected.size()), Patience);
    QCOMPARE(s.peer.Received, expected);
    QVERIFY(s.peer.Write(B("\xFF\xFC\x01", 3)));
    QTRY_VERIFY_WITH_TIMEOUT(s.t.LocalEcho(), Patience);
}

void TestTnCnx::sentDataHasIacDoubled()
{
    TSession s;
    QVERIFY(s.Open());
    const QByteArray line("sage \xFF" "es\r\n");
    QCOMPARE(s.t.SendText(line), int(line.size()));
    QCOMPARE(s.t.Send("\xFF", 1), 1);
    const QByteArray wire("sage \xFF\xFF" "es\r\n\xFF\xFF");
    QTRY_COMPARE_WITH_TIMEOUT(s.peer.Poll(), int(wire.size()), Patience);
    QCOMPARE(s.peer.Received, wire);
}

void TestTnCnx::peerCloseIsShownAndReportedOnce_data()
{
    QTest::addColumn<QByteArray>("sent");
    QTest::addColumn<bool>("reset");
    QTest::addColumn<QByteArray>("data");
    QTest::addColumn<QList<QByteArray>>("displays");
    QTest::addColumn<QString>("closed");
    const QByteArray bye = "Auf Wiedersehen!\r\n";
    QTest::newRow("closed") << bye << false << bye
                            << QList<QByteArray>{"\r\n**** Remote has closed ****\r\n"} << "closed 0";
    QTest::newRow("reset") << bye << true << bye << QList<QByteArray>{"\r\n**** ERROR: 10054 ****\r\n"}
                           << "closed 10054";
    // The reply to DO 99 finds the connection reset: the read is not parsed on.
    QTest::newRow("reset found by a reply") << B("vorher\xFF\xFD\x63nachher\xFF\xFB\x01", 19) << true
                                            << QByteArray("vorher") << QList<QByteArray>{} << "closed 0";
}

void TestTnCnx::peerCloseIsShownAndReportedOnce()
{
    QFETCH(QByteArray, sent);
    QFETCH(bool, reset);
    QFETCH(QByteArray, data);
    QFETCH(QList<QByteArray>, displays);
    QFETCH(QString, closed);
    TSession s;
    QVERIFY(s.Open());
    QVERIFY(s.peer.Write(sent));
    if (reset) {
        const linger abortive{1, 0};
        ::setsockopt(s.peer.Fd(), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
    }
    s.peer.Close();
    QTRY_VERIFY_WITH_TIMEOUT(s.events.contains(closed), Patience);
    QCOMPARE(s.data, data);
    QCOMPARE(s.lateData, QByteArray());
    QCOMPARE(s.displays, displays);
    QVERIFY(!s.t.IsConnected() && !s.t.RemoteEcho());
    s.t.Close();
    QTest::qWait(50);
    QCOMPARE(s.events.count(closed), 1);
    QCOMPARE(s.events.size(), 2);
}

void TestTnCnx::connectStartsParserAfresh()
{
    TSession s;
    QVERIFY(s.Open());
    QVERIFY(s.peer.Write(B("\xFF\xFB\x03text\xFF", 8)));  // the last command is cut off
    s.peer.Close();
    QTRY_VERIFY_WITH_TIMEOUT(s.events.contains("closed 0"), Patience);
    QCOMPARE(s.data, QByteArray("text"));

    s.data.clear();
    QVERIFY(s.Open());
    QVERIFY(s.peer.Write(B("\xFB\x01ok", 4)));
    QTRY_COMPARE_WITH_TIMEOUT(s.data, B("\xFB\x01ok", 4), Patience);
    QTest::qWait(50);
    QCOMPARE(s.peer.Poll(), 0);  // no DO ECHO for a WILL that was never sent
    QVERIFY(s.t.GoAheadSuppressed());  // what was agreed before stays
}

void TestTnCnx::connectWhileOpenClosesTheOldSession()
{
    TSession s;
    TTestPeer second;
    QVERIFY(s.Open());
    QVERIFY(s.Open(second));
    QCOMPARE(s.events, QStringList({"connected 0", "closed 0", "connected 0"}));
    QTRY_VERIFY_WITH_TIMEOUT((s.peer.Poll(), s.peer.SawEnd()), Patience);
    QVERIFY(second.Write("zwei"));
    QTRY_COMPARE_WITH_TIMEOUT(s.data, QByteArray("zwei"), Patience);
}

void TestTnCnx::refusedAndUnresolvable()
{
    TTestListener refusing(false);
    TSession s;
    s.t.SetHost("127.0.0.1");
    s.t.SetPort(QByteArray::number(refusing.Port()));
    s.t.Connect();
    QTRY_COMPARE_WITH_TIMEOUT(s.events, QStringList({"connected 10061", "closed 0"}), Patience);
    QVERIFY(!s.t.IsConnected());

    s.t.SetHost("no-such-host.invalid");
    QCOMPARE(Thrown([&] { s.t.Connect(); }),
             QString("SetAddr: Cannot convert host address 'no-such-host.invalid'"));
    QCOMPARE(s.t.Socket()->State(), wsClosed);
    QCOMPARE(Thrown([&] { s.t.SendText("look\r\n"); }),
             QString("Error 10057 in function Send\r\nSocket is not connected"));
}

void TestTnCnx::withoutSocket()
{
    TTnCnx t;
    delete t.Socket();
    QCOMPARE(t.SendText("x"), -1);
    QVERIFY(!t.IsConnected());
    t.SetHost("127.0.0.1");
    t.Connect();
    t.Close();
}

QTEST_GUILESS_MAIN(TestTnCnx)
#include "tst_TnCnx.moc"
