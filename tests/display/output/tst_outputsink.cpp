// The client's own messages, echo, sending, and the bounded output history.
#include "RecordingConsole.h"
#include "display/output/OutputSink.h"

#include <QSignalSpy>
#include <QTest>

class TestOutputSink : public QObject {
    Q_OBJECT
private slots:
    void messagesRestoreTheColour()
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

    void echoAndSend()
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
        sink.FHelpActive = true; // help text forces the echo, but not of a password
        sink.EchoLine("hilfe");
        QCOMPARE(console.Text(), QByteArray("hilfe\r\n"));
        sink.FRemoteEcho = true;
        sink.SendCommandLine("geheim");
        QCOMPARE(console.Text() + net.Sent, QByteArray("hilfe\r\nn\r\ngeheim\r\n"));
    }

    void wrapping_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<QList<int>>("lengths");
        QByteArray blanks, cr(90, 'y');
        for (int i = 0; i < 100; ++i)
            blanks += char(i == 39 || i == 74 ? ' ' : 'a' + i % 26);
        cr[69] = '\r';
        QTest::newRow("no blanks: one long line") << QByteArray(200, 'x') << QList<int>{200};
        QTest::newRow("cut at the first blank from 70") << blanks << QList<int>{75, 25};
        QTest::newRow("a CR at 70 cuts too") << cr << QList<int>{70, 20};
        QTest::newRow("80 characters stay whole") << QByteArray(79, 'z') + ' ' << QList<int>{80};
        QTest::newRow("repeated cuts") << (QByteArray(75, 'w') + ' ').repeated(4)
                                       << QList<int>{76, 76, 76, 76};
    }

    void wrapping()
    {
        QFETCH(QByteArray, text);
        QFETCH(QList<int>, lengths);
        RecordingConsole console;
        TOutputSink sink(console, nullptr);
        QSignalSpy changed(&sink, &TOutputSink::HistoryChanged);
        sink.AddOutputLines(text);
        QCOMPARE(changed.size(), 1);
        QCOMPARE(sink.FOutputLines.mid(1).join(), text); // cut, nothing lost
        QList<int> got;
        for (int i = 1; i < sink.FOutputLines.size(); ++i)
            got << int(sink.FOutputLines[i].size());
        QCOMPARE(got, lengths);
    }

    void historyStaysBounded()
    {
        RecordingConsole console;
        TOutputSink sink(console, nullptr);
        for (int i = 0; i < 1000; ++i)
            sink.AddOutputLines("zeile " + QByteArray::number(i));
        QCOMPARE(sink.FOutputLines.size(), 401);
        QCOMPARE(sink.FOutputLines.last(), QByteArray("zeile 999"));
        // Long wrapped texts add several lines per call; the bound still holds.
        for (int i = 0; i < 100; ++i)
            sink.AddOutputLines((QByteArray(75, 'a') + ' ').repeated(20));
        QCOMPARE(sink.FOutputLines.size(), 401);
    }
};

QTEST_GUILESS_MAIN(TestOutputSink)
#include "tst_outputsink.moc"
