// The telnet byte parser and the option policy without a socket: every vector is fed
// whole and byte by byte and must give the same data, replies and notifications.

#include "net/TelnetProtocol.h"

#include <QLoggingCategory>
#include <QTest>

namespace {

// Records everything the protocol hands out, in order.
struct TSink {
    QByteArray data;
    QByteArray replies;
    QStringList events;  // "reply <hex>", "block <n>", "echo", "eor", "loc", "tt"
    bool terminated = true;

    void Wire(TTelnetProtocol& p)
    {
        p.SendReply = [this](const QByteArray& b) {
            replies += b;
            events << "reply " + QString::fromLatin1(b.toHex(' '));
        };
        p.DeliverBlock = [this](const char* d, int len) {
            data.append(d, len);
            terminated = terminated && d[len] == '\0';
            events << QString("block %1").arg(len);
        };
        p.EchoNegotiated = [this] { events << "echo"; };
        p.EndOfRecord = [this] { events << "eor"; };
        p.SendingLocation = [this] { events << "loc"; };
        p.SendingTermType = [this] { events << "tt"; };
    }
    QStringList Notifications() const
    {
        QStringList out;
        for (const QString& e : events) {
            if (!e.startsWith("reply") && !e.startsWith("block"))
                out << e;
        }
        return out;
    }
};

QString Flags(const TTelnetProtocol& p)
{
    QStringList f;
    if (p.RemoteBinary() && p.LocalBinary())
        f << "binary";
    if (p.GoAheadSuppressed())
        f << "sga";
    if (p.TerminalTypeAgreed())
        f << "tt";
    if (p.LocalEcho)
        f << "localecho";
    if (p.RemoteEcho())
        f << "remoteecho";
    return f.join(',');
}

QByteArray B(const char* s, int n) { return QByteArray(s, n); }

QStringList traceLines;
void CollectTrace(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    if (QByteArray(context.category) == "kmc.telnet")
        traceLines << text;
}

} // namespace

class TestTelnetProtocol : public QObject {
    Q_OBJECT
private slots:
    void vectors_data()
    {
        QTest::addColumn<QByteArray>("input");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("replies");
        QTest::addColumn<QString>("notifications");
        QTest::addColumn<QString>("flags");  // after the input; LocalEcho starts false

        const QByteArray none;
        const QByteArray ttAnswer("\xFF\xFA\x18\x00VT100\xFF\xF0", 11);
        QTest::newRow("IAC IAC is one data byte 255") << B("a\xFF\xFF" "b", 4) << B("a\xFF" "b", 3) << none << "" << "";
        QTest::newRow("WONT ECHO: client echoes, no reply") << B("\xFF\xFC\x01", 3) << none << none << "echo" << "localecho";
        QTest::newRow("WONT then WILL ECHO") << B("\xFF\xFC\x01\xFF\xFB\x01", 6) << none << B("\xFF\xFD\x01", 3) << "echo,echo" << "remoteecho";
        QTest::newRow("DO and DONT ECHO only notify") << B("\xFF\xFD\x01\xFF\xFE\x01", 6) << none << none << "echo,echo" << "";
        QTest::newRow("DO TERMINAL-TYPE, SEND twice, same answer")
            << B("\xFF\xFD\x18\xFF\xFA\x18\x01\xFF\xF0\xFF\xFA\x18\x01\xFF\xF0", 15) << none
            << B("\xFF\xFB\x18", 3) + ttAnswer + ttAnswer << "tt,tt" << "tt";
        QTest::newRow("SE alone ends a sub-negotiation") << B("\xFF\xFA\x18\x01\xF0x", 6) << B("x", 1) << ttAnswer << "tt" << "";
        QTest::newRow("IAC inside a sub-negotiation is collected")
            << B("\xFF\xFA\x18\xFF\x01\xFF\xF0", 7) << none << none << "" << "";
        QTest::newRow("TERMINAL-TYPE IS from the server ignored")
            << B("\xFF\xFA\x18\x00xyz\xFF\xF0", 9) << none << none << "" << "";
        QTest::newRow("empty sub-negotiation ignored") << B("\xFF\xFA\xF0ok", 5) << B("ok", 2) << none << "" << "";
        QTest::newRow("DO NAWS refused, verb takes one option byte") << B("\xFF\xFD\x1F" "abc", 6) << B("abc", 3) << B("\xFF\xFC\x1F", 3) << "" << "";
        QTest::newRow("WILL unknown refused DONT") << B("\xFF\xFB\xC9", 3) << none << B("\xFF\xFE\xC9", 3) << "" << "";
        QTest::newRow("WONT and DONT unknown answered WONT") << B("\xFF\xFC\x05\xFF\xFE\x05", 6) << none << B("\xFF\xFC\x05\xFF\xFC\x05", 6) << "" << "";
        QTest::newRow("option byte 255 is an option") << B("\xFF\xFB\xFFz", 4) << B("z", 1) << B("\xFF\xFE\xFF", 3) << "" << "";
        QTest::newRow("WILL BINARY answered DO") << B("\xFF\xFB\x00", 3) << none << B("\xFF\xFD\x00", 3) << "" << "binary";
        QTest::newRow("WONT BINARY after WILL clears it") << B("\xFF\xFB\x00\xFF\xFC\x00", 6) << none << B("\xFF\xFD\x00", 3) << "" << "";
        QTest::newRow("WILL SUPPRESS-GO-AHEAD answered DO") << B("\xFF\xFB\x03", 3) << none << B("\xFF\xFD\x03", 3) << "" << "sga";
        QTest::newRow("known options the client does not answer")
            << B("\xFF\xFD\x00\xFF\xFE\x00\xFF\xFD\x03\xFF\xFC\x03\xFF\xFB\x17\xFF\xFE\x17\xFF\xFB\x18\xFF\xFC\x18", 24)
            << none << none << "" << "";
        QTest::newRow("DO SEND-LOCATION sends the location")
            << B("\xFF\xFD\x17", 3) << none << B("\xFF\xFB\x17\xFF\xFA\x17TNCNX\xFF\xF0", 13) << "loc" << "";
        QTest::newRow("DO END-OF-RECORD answered WILL") << B("\xFF\xFD\x19", 3) << none << B("\xFF\xFB\x19", 3) << "" << "tt";
        QTest::newRow("IAC EOR notifies") << B("a\xFF\xEF" "b", 4) << B("ab", 2) << none << "eor" << "";
        QTest::newRow("IAC GA, NOP and DM dropped, no reply") << B("a\xFF\xF9\xFF\xF1\xFF\xF2" "b", 8) << B("ab", 2) << none << "" << "";
        QTest::newRow("IP AO AYT EC EL outside a command are data") << B("\xF4\xF5\xF6\xF7\xF8", 5) << B("\xF4\xF5\xF6\xF7\xF8", 5) << none << "" << "";
        QTest::newRow("CR LF, NUL, umlauts and ANSI colours pass unchanged")
            << B("a\r\nb\n\r\0\x1B[1;31m\xC4rger", 19) << B("a\r\nb\n\r\0\x1B[1;31m\xC4rger", 19) << none << "" << "";
    }

    void vectors()
    {
        QFETCH(QByteArray, input);
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, replies);
        QFETCH(QString, notifications);
        QFETCH(QString, flags);

        for (bool byteByByte : {false, true}) {
            TTelnetProtocol p;
            TSink sink;
            sink.Wire(p);
            if (byteByByte) {
                for (char c : input)
                    p.Receive(&c, 1);
            } else {
                p.Receive(input.constData(), int(input.size()));
            }
            const char* how = byteByByte ? "byte by byte" : "whole";
            QVERIFY2(sink.data == data, how);
            QVERIFY2(sink.replies == replies, how);
            QVERIFY2(sink.terminated, how);
            QCOMPARE(sink.Notifications().join(','), notifications);
            QCOMPARE(Flags(p), flags);
        }
    }

    void blocksPerRead()
    {
        TTelnetProtocol p;
        TSink sink;
        sink.Wire(p);
        const QByteArray full(2048, 'x');
        p.Receive(full.constData(), 2048);
        QCOMPARE(sink.events, QStringList{"block 2048"});
        // A read larger than the usual 2048 bytes is cut at the buffer's 2049.
        sink.events.clear();
        const QByteArray big(5000, 'y');
        p.Receive(big.constData(), 5000);
        QCOMPARE(sink.events, QStringList({"block 2049", "block 2049", "block 902"}));
        QVERIFY(sink.terminated);
        // Replies go out before the block around them is delivered.
        sink.events.clear();
        const QByteArray in = QByteArray(150, 'a') + B("\xFF\xFB\x01", 3) + QByteArray(150, 'b');
        p.Receive(in.constData(), int(in.size()));
        QCOMPARE(sink.events, QStringList({"reply ff fd 01", "echo", "block 300"}));
        QVERIFY(sink.data.endsWith(QByteArray(150, 'a') + QByteArray(150, 'b')));
        // Data nobody takes is dropped, not held for a later subscriber.
        p.DeliverBlock = nullptr;
        p.Receive("old", 3);
        sink.Wire(p);
        p.Receive("new", 3);
        QVERIFY(sink.data.endsWith("bnew"));
    }

    void sessionEndForgetsTheConnectionButKeepsOptions()
    {
        TTelnetProtocol p;
        TSink sink;
        sink.Wire(p);
        p.Receive("\xFF\xFB\x03\xFF\xFB\x01", 6);  // suppress go-ahead agreed, the server echoes
        p.Receive("\xFF", 1);                      // the connection ends inside a command
        p.ResetSession();
        QVERIFY(!p.RemoteEcho());
        p.Receive("\xFB\x01ok", 4);
        QVERIFY(sink.data == B("\xFB\x01ok", 4));
        QCOMPARE(sink.replies, B("\xFF\xFD\x03\xFF\xFD\x01", 6));
        QVERIFY(p.GoAheadSuppressed());

        // A reply that finds the connection reset ends the session inside a read: what
        // came before is handed on, nothing after it, and the next read starts clean.
        sink.data.clear();
        sink.events.clear();
        p.SendReply = [&](const QByteArray&) { p.EndSession(); };
        const QByteArray read = B("vorher\xFF\xFD\x63nachher\xFF\xFB\x01", 19);
        p.Receive(read.constData(), int(read.size()));
        QCOMPARE(sink.events, QStringList{"block 6"});
        QVERIFY(!p.RemoteEcho());
        sink.Wire(p);
        p.Receive("neu", 3);
        QCOMPARE(sink.data, QByteArray("vorherneu"));
    }

    void longSubNegotiationIsBounded()
    {
        TTelnetProtocol p;
        TSink sink;
        sink.Wire(p);
        // The request survives even when the server pads it far beyond any sane length.
        const QByteArray padded = B("\xFF\xFA\x18\x01", 4) + QByteArray(100000, 'p') + B("\xF0ok", 3);
        p.Receive(padded.constData(), int(padded.size()));
        QCOMPARE(sink.Notifications(), QStringList{"tt"});
        QCOMPARE(sink.data, QByteArray("ok"));
    }

    void traceLinesAreNumbered()
    {
        traceLines.clear();
        const QtMessageHandler previous = qInstallMessageHandler(CollectTrace);
        TTelnetProtocol p;
        TSink sink;
        sink.Wire(p);
        p.Receive("\xFF\xF9", 2);
        QVERIFY2(traceLines.isEmpty(), "trace lines are off unless asked for");
        QLoggingCategory::setFilterRules("kmc.telnet.debug=true");
        p.Receive("\xFF\xF9\xF6\xFF\xEF\xF4\xF5\xF7\xF8\xFFZ", 11);
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules(QString());

        const QStringList expected = {"Unknown F9 '\u00F9'", "TNCH_AYT", "TNCH_EOR", "TNCH_IP",
                                      "TNCH_AO",  "TNCH_EC",  "TNCH_EL", "Unknown 5A 'Z'"};
        // Numbered in four hexadecimal digits, one up per line.
        QVERIFY(!traceLines.isEmpty());
        const int first = traceLines[0].left(4).toInt(nullptr, 16);
        QStringList numbered;
        for (int i = 0; i < expected.size(); ++i)
            numbered << QString("%1 ").arg(first + i, 4, 16, QChar(u'0')).toUpper() + expected[i];
        QCOMPARE(traceLines, numbered);
    }
};

QTEST_GUILESS_MAIN(TestTelnetProtocol)
#include "tst_net_telnet.moc"
