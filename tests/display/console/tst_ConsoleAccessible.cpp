// The console through Qt's accessibility API, as a screen reader reads it: its text
// with the lines that scrolled away, the caret, line boundaries, and the announcements
// of new lines, prompts and floods.
#include "ConsoleAccessible.h"
#include "ConsoleTestUtil.h"

#include <QAccessible>

namespace {

// Every text-inserted event raised for the console, in order.
QStringList gInserted;
QObject* gWatched = nullptr;

void Record(QAccessibleEvent* event)
{
    if (event->type() == QAccessible::TextInserted && event->object() == gWatched)
        gInserted << static_cast<QAccessibleTextInsertEvent*>(event)->textInserted();
}

struct Rig {
    TColorConsole console;
    QAccessibleInterface* face = nullptr;
    QAccessibleTextInterface* text = nullptr;

    Rig(int rows = 5)
    {
        TConsole::InstallAccessibility();
        QAccessible::installUpdateHandler(Record);
        gInserted.clear();
        gWatched = &console;
        prepareConsole(console, 20, rows);
        // Qt's bridge switches on once it has found the accessibility bus.
        (void)QTest::qWaitFor([] { return QAccessible::isActive(); }, 10000);
        face = QAccessible::queryAccessibleInterface(&console);
        text = face ? face->textInterface() : nullptr;
    }
    ~Rig()
    {
        QAccessible::installUpdateHandler(nullptr);
        gWatched = nullptr;
    }
    QString All() const { return text->text(0, text->characterCount()); }
};

} // namespace

class TestConsoleAccessible : public QObject {
    Q_OBJECT
private slots:
    void textHistoryCaretAndLines()
    {
        Rig r(3);
        QVERIFY(r.text);
        QCOMPARE(r.face->role(), QAccessible::Terminal);
        QCOMPARE(r.face->text(QAccessible::Name), QString("Ausgabe"));
        QVERIFY(r.face->state().readOnly);
        // Five lines in three rows: the first two scrolled into the history.
        r.console.WriteString("eins\r\nzwei\r\ndrei\r\nvier \xE4\r\nPrompt> ");
        QCOMPARE(r.All(), QString("eins\nzwei\ndrei\nvier \u00E4\nPrompt>"));
        QCOMPARE(r.text->cursorPosition(), r.All().size()); // after the prompt
        int start = 0, end = 0;
        QCOMPARE(r.text->textAtOffset(6, QAccessible::LineBoundary, &start, &end), QString("zwei\n"));
        QCOMPARE(start, 5);
        QCOMPARE(r.text->textAtOffset(15, QAccessible::WordBoundary, &start, &end), QString("vier"));
        // A visible character has its cell on the screen; an offset in the history has none.
        const QRect cell = r.text->characterRect(int(r.All().indexOf("Prompt")));
        QCOMPARE(cell.size(), QSize(r.console.CharSize().x(), r.console.CharSize().y()));
        QCOMPARE(r.text->offsetAtPoint(cell.center()), int(r.All().indexOf("Prompt")));
        QCOMPARE(r.text->characterRect(0), QRect());
    }

    void linesAndPromptsAreAnnounced()
    {
        Rig r;
        r.console.WriteString("Ein Ork greift an.\r\nDu fliehst.\r\n");
        QTRY_COMPARE(gInserted, QStringList{"Ein Ork greift an.\nDu fliehst.\n"});
        // A prompt without its line end is said after a moment, and not said again with it.
        r.console.WriteString("Passwort: ");
        QTRY_COMPARE(gInserted.value(1), QString("Passwort:"));
        r.console.WriteString("*** \r\n");
        QTRY_COMPARE(gInserted.value(2), QString(" ***\n"));
        // Client messages are written into the console like the server's text.
        r.console.Font().SetColor(kRed);
        r.console.WriteString("Keine Sitzung aktiv!\r\n");
        QTRY_COMPARE(gInserted.size(), 4);
        QCOMPARE(gInserted[3], QString("Keine Sitzung aktiv!\n"));
    }

    void floodIsAnnouncedInBatches()
    {
        Rig r;
        QElapsedTimer clock;
        clock.start();
        // 2,000 lines within about two seconds.
        for (int i = 0; i < 2000; ++i) {
            r.console.WriteString("Zeile " + QByteArray::number(i) + "\r\n");
            if (i % 100 == 99)
                QTest::qWait(100);
        }
        const qint64 flood = clock.elapsed();
        QTest::qWait(TLineAnnouncer::kBatchMs + 500);
        QVERIFY2(gInserted.size() <= flood / TLineAnnouncer::kBatchMs + 3, qPrintable(QString::number(gInserted.size())));
        QVERIFY(gInserted.last().endsWith("Zeile 1999\n"));
        QVERIFY(gInserted.last().count('\n') <= TLineAnnouncer::kBatchLines);
        // The whole flood stays readable, up to the history's bound.
        QVERIFY(r.All().contains("Zeile 1000\n"));
    }
};

QTEST_MAIN(TestConsoleAccessible)
#include "tst_ConsoleAccessible.moc"
