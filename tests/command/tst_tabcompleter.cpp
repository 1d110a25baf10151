// Tab completion from the completion words and from the recent output, and adding the
// last word of the input line.

#include "CommandFixture.h"

#include <QTest>

class TestTabCompleter : public QObject
{
    Q_OBJECT
private slots:
    void completion_data()
    {
        QTest::addColumn<TStringList>("tabs");
        QTest::addColumn<QList<QByteArray>>("output");
        QTest::addColumn<bool>("tabCase");
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("caret");
        QTest::addColumn<QByteArray>("completed"); // empty: the line stays as it was
        const TStringList sword{"Schwert", "Schild"};
        const QList<QByteArray> none;
        QTest::newRow("case-sensitive finds nothing")
            << sword << none << true << QByteArray("nimm schw") << 9 << QByteArray();
        QTest::newRow("case-insensitive")
            << sword << none << false << QByteArray("nimm schw") << 9 << QByteArray("nimm Schwert");
        QTest::newRow("blanks collapse") << sword << none << true << QByteArray("sag  hallo   Schw")
                                         << 17 << QByteArray("sag hallo Schwert");
        QTest::newRow("text after caret kept")
            << sword << none << true << QByteArray("sag Schwert x") << 8
            << QByteArray("sag Schwertert x");
        QTest::newRow("blank before caret")
            << sword << none << true << QByteArray("nimm ") << 5 << QByteArray();
        QTest::newRow("output word with comma")
            << TStringList{} << QList<QByteArray>{"Ein Ork, ein Troll."} << true
            << QByteArray("toete Or") << 8 << QByteArray("toete Ork");
        QTest::newRow("umlaut removed") << TStringList{} << QList<QByteArray>{"Ein B\xe4r."} << true
                                        << QByteArray("B") << 1 << QByteArray("Br");
        QTest::newRow("digits and dash kept")
            << TStringList{} << QList<QByteArray>{"[Ork-2]"} << true << QByteArray("[O") << 2
            << QByteArray("Ork-2");
        QTest::newRow("word list wins over output")
            << TStringList{"Ork"} << QList<QByteArray>{"Orkan Orks"} << true << QByteArray("Or")
            << 2 << QByteArray("Ork");
        QTest::newRow("same output word twice is one")
            << TStringList{} << QList<QByteArray>{"Ork Ork", "ork"} << false << QByteArray("or")
            << 2 << QByteArray("Ork");
    }

    void completion()
    {
        QFETCH(TStringList, tabs);
        QFETCH(QList<QByteArray>, output);
        QFETCH(bool, tabCase);
        QFETCH(QByteArray, text);
        QFETCH(int, caret);
        QFETCH(QByteArray, completed);
        CommandFixture f;
        f.Config.FTabs = tabs;
        f.Config.FTabCase = tabCase;
        f.Sink.FOutputLines = output;
        f.Host.Text = text;
        f.Host.Cursor = caret;
        f.Commands.Completer().MudInputTabKeyPress(Qt::NoModifier);
        QCOMPARE(f.Host.Text, completed.isEmpty() ? text : completed);
        if (!completed.isEmpty()) {
            QCOMPARE(f.Host.Cursor, int(completed.size()));
            QCOMPARE(f.Host.Calls, QStringList{"FocusInput"});
        }
        QVERIFY(f.Console.Cells.isEmpty());
    }

    void ambiguousIsListed()
    {
        CommandFixture f;
        f.Config.FTabs = {"Schwert", "Schild", "Axt"};
        f.Host.Text = "nimm Sch";
        f.Host.Cursor = 8;
        f.Commands.Completer().MudInputTabKeyPress(Qt::NoModifier);
        QCOMPARE(f.Host.Text, QByteArray("nimm Sch"));
        QCOMPARE(f.Console.Text(), QByteArray("\r\nErgaenzung nicht eindeutig. Moegliche "
                                              "Werte:\r\n--> Schwert\r\n--> Schild\r\n"));
        // Two output words that become equal are still listed twice.
        f.Reset();
        f.Config.FTabs.clear();
        f.Sink.FOutputLines = {"Ork, Ork."};
        f.Commands.Completer().CompleteWord("O", 1);
        QVERIFY(f.Console.Text().endsWith("--> Ork\r\n--> Ork\r\n"));
        // Like all echo output, the list needs local echo.
        f.Reset();
        f.Sink.FLocalEcho = false;
        f.Commands.Completer().CompleteWord("O", 1);
        QVERIFY(f.Console.Cells.isEmpty());
    }

    void onlyLast25OutputLinesAreSearched()
    {
        CommandFixture f;
        f.Sink.FOutputLines = QList<QByteArray>{"Drache"} + QList<QByteArray>(25, "nichts");
        f.Commands.Completer().CompleteWord("Dr", 2);
        QCOMPARE(f.Host.Text, QByteArray());
        f.Sink.FOutputLines.removeLast();
        f.Commands.Completer().CompleteWord("Dr", 2);
        QCOMPARE(f.Host.Text, QByteArray("Drache"));
    }

    void tabKey()
    {
        CommandFixture f;
        f.Config.FTabs = {"Schwert"};
        f.Commands.Completer().MudInputTabKeyPress(Qt::NoModifier); // empty line
        QVERIFY(f.Host.Calls.isEmpty());
        f.Host.Text = "Schw";
        f.Host.Cursor = 4;
        f.Commands.Completer().MudInputTabKeyPress(Qt::ControlModifier);
        QCOMPARE(f.Host.Calls, QStringList{"FocusNext"});
        QCOMPARE(f.Host.Text, QByteArray("Schw"));
        f.Commands.Completer().MudInputTabKeyPress(Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.Host.Text, QByteArray("Schwert"));
    }

    void addLastWord()
    {
        CommandFixture f;
        f.Host.Text = " toete  Troll ";
        f.Commands.Completer().AddLastWord();
        f.Commands.Completer().AddLastWord();
        QCOMPARE(f.Messages(), (QStringList{"I:Tab-Ergaenzung \"Troll\" hinzugefuegt.",
                                            "E:Tab-Ergaenzung \"Troll\" bereits vorhanden!"}));
        QCOMPARE(f.Config.FTabs, TStringList{"Troll"});
        QCOMPARE(f.Host.Calls, (QStringList{"FocusMain", "FocusMain"}));
        f.Host.Text = "   ";
        f.Commands.Completer().AddLastWord();
        QCOMPARE(f.Config.FTabs, TStringList{"Troll"});
    }
};

QTEST_GUILESS_MAIN(TestTabCompleter)
#include "tst_tabcompleter.moc"
