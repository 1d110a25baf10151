// The client's own messages, echo, sending, and the bounded output history.
#include "RecordingConsole.h"
#include "display/output/OutputSink.h"

#include <QTest>

class TestOutputSink : public QObject {
    Q_OBJECT
private slots:
    void messagesRestoreTheColour();
    void echoAndSend();
    void wrapping_data();
    void wrapping();
    void historyStaysBounded();
};

void TestOutputSink::messagesRestoreTheColour()
{
    RecordingConsole console;
    console.Color = 0x00FFFF; // a server colour in force
    console.Style = 1;
    TOutputSink sink(console, nullptr);
    sink.ShowError("Fehler");
    sink.ShowInfo("ok");
    console.WriteString("x");
    QCOMPARE(console.Annotated(),
             QByteArray("<00FFFF/000000/1>\r\n<0000FF/000000/1>Fehler\r\n<008000/000000/1>ok\r\n"
                        "<00FFFF/000000/1>x"));
    QCOMPARE(sink.FOutputLines, QList<QByteArray>({""})); // messages are not history
}

void TestOutputSink::echoAndSend()
{
    RecordingConsole console;
    RecordingConnection net;
    TOutputSink sink(console, &net);
    sink.SendCommandLine("schaue");
    QCOMPARE(console.Text(), QByteArray("\r\nschaue\r\n"));
    QCOMPARE(net.Sent, QByteArray()); // not connected: only echoed
    QCOMPARE(sink.FOutputLines, QList<QByteArray>({"", "schaue"}));
    net.Connected = true;
    sink.FLocalEcho = false;
    console.Cells.clear();
    sink.SendCommandLine("n");
    QCOMPARE(net.Sent, QByteArray("n\r\n"));
    QCOMPARE(console.Text(), QByteArray());
    QCOMPARE(sink.FOutputLines.size(), 2);
    sink.FHelpActive = true; // help text forces the echo
    sink.EchoLine("hilfe");
    QCOMPARE(console.Text(), QByteArray("hilfe\r\n"));
}

void TestOutputSink::wrapping_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<int>>("lengths");
    QByteArray withBlanks(100, 'x');
    withBlanks[39] = ' ';
    withBlanks[74] = ' ';
    QTest::newRow("no blanks: one long line") << QByteArray(200, 'x') << QList<int>{200};
    QTest::newRow("cut at the first blank from 70") << withBlanks << QList<int>{75, 25};
    QByteArray cr(90, 'y');
    cr[69] = '\r';
    QTest::newRow("a CR at 70 cuts too") << cr << QList<int>{70, 20};
    QTest::newRow("80 characters stay whole") << QByteArray(79, 'z') + ' ' << QList<int>{80};
    QByteArray many;
    for (int i = 0; i < 4; ++i)
        many += QByteArray(75, 'w') + ' ';
    QTest::newRow("repeated cuts") << many << QList<int>{76, 76, 76, 76};
}

void TestOutputSink::wrapping()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<int>, lengths);
    RecordingConsole console;
    TOutputSink sink(console, nullptr);
    sink.AddOutputLines(text);
    QList<int> got;
    for (int i = 1; i < sink.FOutputLines.size(); ++i)
        got << int(sink.FOutputLines[i].size());
    QCOMPARE(got, lengths);
}

void TestOutputSink::historyStaysBounded()
{
    RecordingConsole console;
    TOutputSink sink(console, nullptr);
    for (int i = 0; i < 1000; ++i)
        sink.AddOutputLines("zeile " + QByteArray::number(i));
    QCOMPARE(sink.FOutputLines.size(), 401);
    QCOMPARE(sink.FOutputLines.last(), QByteArray("zeile 999"));
    // Long wrapped texts add several lines per call; the bound still holds.
    const QByteArray longText = (QByteArray(75, 'a') + ' ').repeated(20);
    for (int i = 0; i < 100; ++i)
        sink.AddOutputLines(longText);
    QCOMPARE(sink.FOutputLines.size(), 401);
}

QTEST_GUILESS_MAIN(TestOutputSink)
#include "tst_outputsink.moc"
