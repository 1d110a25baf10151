// The statistics window: grid, host totals, deleting, clearing, sorting, handing back,
// the HTML file, printing to a PDF file and the print preview.
#include "FileRig.h"
#include "ScriptedPrompts.h"
#include "stats/ui/Mudvorka.h"
#include "stats/ui/VorkaPrint.h"
#include "stats/ui/VorkaTable.h"
#include "stats/ui/mudpprev.h"

#include <QPrinter>
#include <QTest>
#include <QtWidgets>

#include <cmath>

using Answer = IPrompts::Answer;

namespace
{

void AddConnection(TVorkaOMatic& log, const char* host, const char* start, const char* end)
{
    TVorkaOMaticLog e;
    e.Host = host;
    DateTime::strToDateTime(start, e.StartTime);
    DateTime::strToDateTime(end, e.EndTime);
    e.Date = std::floor(e.StartTime);
    log.AddEntry(e);
    log.FModified = false;
}

// The window over a log, its questions answered from a script.
struct Shown {
    ScriptedPrompts prompts;
    TVorkaOMaticFrm frm{nullptr, &prompts};
    explicit Shown(const TVorkaOMatic& log) { frm.Prepare(log); }
};

QStringList Column(const QTableWidget* grid, int column)
{
    QStringList texts;
    for (int r = 0; r < grid->rowCount(); ++r)
        texts << grid->item(r, column)->text();
    return texts;
}

// Runs `drive` on the modal window once it is shown; one never shown fails the test.
template <class T> void WhenShown(std::function<void(T*)> drive)
{
    QTimer::singleShot(0, [drive] {
        auto* modal = qobject_cast<T*>(QApplication::activeModalWidget());
        QVERIFY(modal);
        drive(modal);
        if (modal->isVisible()) modal->reject();
    });
}

TVorkaOMatic LogOf(int entries)
{
    TVorkaOMatic log;
    for (int i = 0; i < entries; ++i)
        AddConnection(log, i % 2 ? "mud.example.org" : "andere.welt", "05.12.1998 13:09:47",
                      "05.12.1998 14:02:11");
    return log;
}

} // namespace

class TestVorkaOMaticFrm : public QObject
{
    Q_OBJECT
private slots:
    void hostTotalsAndDeletingTheLastHostsOnlyEntry()
    {
        TVorkaOMatic log;
        AddConnection(log, "mud.example.org", "05.12.1998 13:09:47", "05.12.1998 14:02:11");
        AddConnection(log, "other", "06.12.1998 23:59:30", "07.12.1998 00:00:30");
        AddConnection(log, "zero", "07.12.1998 10:00:00", "07.12.1998 10:00:00");
        AddConnection(log, "mud.example.org", "08.12.1998 10:00:00", "08.12.1998 11:00:01");
        auto&& [prompts, frm] = Shown(log);
        QCOMPARE(Column(frm.LogGrid, 4),
                 (QStringList{"0h 52m 24s", "0h 01m 00s", "0h 00m 00s", "1h 00m 01s"}));
        const QString mudTotal = "0 Jahre, 0 Tage, 1 Stunde, 52 Minuten und 25 Sekunden";
        QCOMPARE(frm.edtOnlineTime->text(), mudTotal);
        frm.cbHostList->setCurrentIndex(2);
        frm.cbHostListChange();
        QCOMPARE(frm.edtOnlineTime->text(), QStringLiteral("Keine Daten verfügbar..."));
        // "Hosts" has no Alt letter of its own: Alt+H belongs to "&HTML".
        for (const QLabel* label : frm.findChildren<QLabel*>())
            QVERIFY2(!label->text().contains("&H"), qPrintable(label->text()));

        // With two hosts left none is selected and the total stays; with one, it is selected.
        prompts.answers = {Answer::Yes, Answer::Yes};
        frm.LogGrid->setCurrentCell(2, 0);
        frm.btnDeleteEntry->click();
        QCOMPARE(prompts.log, QStringList{"Confirm2: Markierten Eintrag entfernen?"});
        QCOMPARE(frm.cbHostList->currentIndex(), -1);
        QCOMPARE(frm.edtOnlineTime->text(), QStringLiteral("Keine Daten verfügbar..."));
        frm.cbHostList->setCurrentIndex(1); // "other"
        frm.LogGrid->setCurrentCell(1, 0);
        frm.btnDeleteEntry->click();
        QCOMPARE(frm.cbHostList->currentText() + ": " + frm.edtOnlineTime->text(),
                 "mud.example.org: " + mudTotal);
        QCOMPARE(Column(frm.LogGrid, 1), QStringList(2, "mud.example.org"));
        QCOMPARE(frm.Log().Count(), 2);
        QVERIFY(frm.Log().FModified);
    }

    void clearLogAsksTwice()
    {
        TVorkaOMatic log = LogOf(2);
        auto&& [prompts, frm] = Shown(log);
        const QString total = frm.edtOnlineTime->text();
        // "Nein" at the first, then at the second question keeps everything; "Ja" twice clears.
        prompts.answers = {Answer::No, Answer::Yes, Answer::No, Answer::Yes, Answer::Yes};
        for (const int left : {2, 2, 0}) {
            frm.btnClearLog->click();
            QCOMPARE(
                QList<int>({frm.Log().Count(), frm.LogGrid->rowCount(), frm.cbHostList->count()}),
                QList<int>(3, left));
            QCOMPARE(frm.Log().FModified, left == 0);
        }
        frm.btnDeleteEntry->click(); // nothing left to delete: nothing to ask
        const QString first = "Confirm2: Alle Einträge aus Log-Datei entfernen?";
        const QString second =
            "ConfirmOk: Bitte Löschen der Ternu-O-Matic(tm) Log-Datei bestätigen !";
        QCOMPARE(prompts.log, (QStringList{first, first, second, first, second}));
        QCOMPARE(frm.edtOnlineTime->text(), total);
    }

    void executeHandsBackOnlyChanges()
    {
        ScriptedPrompts prompts;
        TVorkaOMatic log;
        AddConnection(log, "a", "01.02.2003 10:00:00", "01.02.2003 11:00:00");

        WhenShown<TVorkaOMaticFrm>([](TVorkaOMaticFrm*) {}); // closed unchanged
        QVERIFY(!TVorkaOMaticFrm::Execute(log));
        QVERIFY(!log.FModified);

        // A connection that ends while the window is open survives the player's clearing.
        prompts.answers = {Answer::Yes, Answer::Yes};
        WhenShown<TVorkaOMaticFrm>([&log](TVorkaOMaticFrm* frm) {
            AddConnection(log, "b", "02.02.2003 10:00:00", "02.02.2003 11:00:00");
            frm->btnClearLog->click();
            frm->btnClose->click();
        });
        QVERIFY(TVorkaOMaticFrm::Execute(log));
        QCOMPARE(log.Count(), 1);
        QCOMPARE(log.GetEntry(0).Host, QByteArray("b"));
        QVERIFY(log.FModified);
    }

    void sortThenDeleteMarkedRowsKeepingUnreadableLines()
    {
        TVorkaOMatic log;
        AddConnection(log, "b", "01.01.2020 08:00:00", "01.01.2020 18:00:00"); // 10h
        log.FEntries << "kaputt/x/y/z"
                     << "01.02.2003/b/01.02.2003 12:00/nie";
        AddConnection(log, "a", "05.12.1998 09:30:00", "05.12.1998 19:00:00"); // 9h 30m
        AddConnection(log, "d", "02.03.2001 10:00:00", "02.03.2001 10:00:05"); // 5s
        AddConnection(log, "c", "03.03.2001 07:00:00", "03.03.2001 07:01:00"); // 1m
        auto&& [prompts, frm] = Shown(log);
        // Lines that cannot be read are reported once, left out of the grid and kept.
        QCOMPARE(prompts.log, QStringList{"Error: 'kaputt' ist kein gültiges Datum und Zeit"});

        emit frm.LogGrid->horizontalHeader()->sectionClicked(4);
        QCOMPARE(Column(frm.LogGrid, 1), (QStringList{"d", "c", "a", "b"}));
        emit frm.LogGrid->horizontalHeader()->sectionClicked(4); // again: the other way round
        QCOMPARE(Column(frm.LogGrid, 1), (QStringList{"b", "a", "c", "d"}));
        emit frm.LogGrid->horizontalHeader()->sectionClicked(0); // by date, not by text
        QCOMPARE(Column(frm.LogGrid, 1), (QStringList{"a", "d", "c", "b"}));
        QVERIFY(!frm.Log().FModified);

        prompts.answers = {Answer::Yes, Answer::Yes};
        frm.LogGrid->setCurrentCell(3, 0); // "b", log entry 0
        frm.btnDeleteEntry->click();
        // Every later row now stands for a shifted log entry; the next deletion must still match.
        frm.LogGrid->setCurrentCell(0, 0); // "a"
        frm.btnDeleteEntry->click();
        QCOMPARE(Column(frm.LogGrid, 1), (QStringList{"d", "c"}));
        for (int r = 0; r < frm.LogGrid->rowCount(); ++r)
            QCOMPARE(frm.Log().GetEntry(frm.LogIndexOfRow(r)).Host,
                     frm.LogGrid->item(r, 1)->text().toLatin1());
        QVERIFY(frm.HandBack(log));
        QCOMPARE(log.FEntries, frm.Log().FEntries);
        QCOMPARE(log.FEntries.mid(0, 2),
                 QList<QByteArray>({"kaputt/x/y/z", "01.02.2003/b/01.02.2003 12:00/nie"}));
    }

    void htmlOfTheGridToAFileOrAMissingFolder()
    {
        QTemporaryDir dir;
        TVorkaOMatic log;
        AddConnection(log, "mud.example.org", "05.12.1998 13:09:47", "05.12.1998 14:02:11");
        AddConnection(log, "b\xe4r", "06.12.1998 08:00:00", "06.12.1998 09:05:09");
        auto&& [prompts, frm] = Shown(log);
        frm.OnAskHtmlFileName = [&] { return dir.filePath("stat.htm"); };
        frm.btnSaveHtml->click();

        // The cell format is pinned below; here what the grid shows, in its order.
        TVorkaTable table;
        table.Headers = QStringList{"Datum", "Host", "Start", "Stop", "Online-Zeit"};
        table.Rows = {{"05.12.1998", "mud.example.org", "13:09:47", "14:02:11", "0h 52m 24s"},
                      {"06.12.1998", "bär", "08:00:00", "09:05:09", "1h 05m 09s"}};
        QCOMPARE(ReadFile(dir.filePath("stat.htm")), VorkaHtml(table));
        QVERIFY(VorkaHtml(table).contains("<td nowrap>b\xe4r</td>\r\n"));
        QVERIFY(prompts.log.isEmpty());

        const QString missing = dir.filePath("fehlt/stat.htm");
        frm.OnAskHtmlFileName = [&] { return missing; };
        frm.btnSaveHtml->click();
        QCOMPARE(prompts.log, QStringList{"Error: Kann nicht nach " + missing + " schreiben"});
        QVERIFY(!QFile::exists(missing));

        // Empty texts and carriage returns become breaks.
        table.Headers = {"A", ""};
        table.Rows = {{"x\ry", ""}, {"<i>", "\r"}};
        QCOMPARE(VorkaHtml(table),
                 QByteArray("<table border=1>\r\n<tr>\r\n"
                            "<td nowrap BGCOLOR=\"#D8D8D8\"><B>A</B></td>\r\n"
                            "<td nowrap BGCOLOR=\"#D8D8D8\"><B><br></B></td>\r\n"
                            "</tr>\r\n<tr>\r\n<td nowrap>x<br>y</td>\r\n<td nowrap><br></td>\r\n"
                            "</tr>\r\n<tr>\r\n<td nowrap><i></td>\r\n<td nowrap><br></td>\r\n"
                            "</tr>\r\n</table><p>\r\n"));
    }

    void printsAfterAskingAndPreviewsPages()
    {
        QTemporaryDir dir;
        const QString pdf = dir.filePath("stat.pdf");
        TVorkaOMatic log = LogOf(200);
        auto&& [prompts, frm] = Shown(log);
        frm.OnSetupPrinter = [&](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPageSize(QPageSize(QPageSize::A4));
            return true;
        };
        prompts.answers = {Answer::No, Answer::Yes};
        frm.btnPrint->click();
        QVERIFY(!QFile::exists(pdf));
        frm.btnPrint->click();
        QCOMPARE(prompts.log, QStringList(2, "Confirm2: Log-Datei ausdrucken?"));
        const int pages = PdfPages(pdf);
        QVERIFY2(pages >= 3 && pages <= 8, qPrintable(QString::number(pages)));

        bool ran = false;
        WhenShown<TMudVorkaPrintPreview>([&ran](TMudVorkaPrintPreview* preview) {
            ran = true;
            const QImage first = preview->PaintBox1->grab().toImage(); // pages differ: drawn
            QTest::keyClick(preview, Qt::Key_PageDown);
            QCOMPARE(preview->Page(), 1);
            QVERIFY(preview->PaintBox1->grab().toImage() != first);
        });
        frm.btnPrintPreview->click();
        QVERIFY(ran);
    }
};

QTEST_MAIN(TestVorkaOMaticFrm)
#include "tst_vorkaomaticfrm.moc"
