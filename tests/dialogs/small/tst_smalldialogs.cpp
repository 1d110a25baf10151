// The small dialogs: connect, alias/path name, path reversal and about box, each shown
// without exec() and closed by its own buttons and keys; and the notebook window over
// mudnotiz.txt in a temporary program folder, down to the bytes written and printing.
#include "FileRig.h"
#include "ScriptedPrompts.h"
#include "TempProgramFolder.h"
#include "config/MudConfig.h"
#include "dialogs/small/Mudopen.h"
#include "dialogs/small/mudabout.h"
#include "dialogs/small/mudedl.h"
#include "dialogs/small/mudnbook.h"
#include "dialogs/small/mudpsw.h"
#include "platform/ProgramFolder.h"

#include <QPrinter>
#include <QTest>
#include <QtWidgets>

#include <memory>

namespace
{

void ShowActive(QWidget& w)
{
    w.show();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

std::unique_ptr<TMudEditFields> ShowEdit(const QByteArray& preset, quint8 mode)
{
    auto dlg = std::make_unique<TMudEditFields>();
    dlg->Prepare(preset, mode);
    ShowActive(*dlg);
    return dlg;
}

// Prints to a PDF file where the player would pick a printer.
class TPdfNotebook : public TMudNoteBookFrm
{
public:
    using TMudNoteBookFrm::TMudNoteBookFrm;
    QString FPdf;
    int FAsked = 0;

protected:
    bool AskPrinter(QPrinter& printer) override
    {
        ++FAsked;
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(FPdf);
        return true;
    }
};

} // namespace

class TestSmallDialogs : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        FFolder = std::make_unique<TempProgramFolder>();
        FPrompts = std::make_unique<ScriptedPrompts>();
        FConfig = TMudConfig();
    }

    void cleanup()
    {
        if (!FPrompts->answers.isEmpty()) QFAIL("scripted answers left over");
        FPrompts.reset();
        FFolder.reset();
    }

    void missingUnmakeableAndUnreadableFiles()
    {
        {
            TMudNoteBookFrm nb; // created hidden at start, the missing file empty
            QCOMPARE(ReadFile(NoteFile()), QByteArray(""));
            QVERIFY(FPrompts->log.isEmpty() && !nb.isVisible());
        }
        {
            // Opening an unreadable file empty would let the next save wipe the notes.
            QVERIFY(QFile::remove(NoteFile()) && QDir().mkdir(NoteFile()));
            TMudNoteBookFrm nb;
            nb.OpenNotebook(FConfig);
            QVERIFY(!nb.isVisible());
        }
        ProgramFolder::setOverride(FFolder->path() + "fehlt/auch/");
        TMudNoteBookFrm nb;
        nb.OpenNotebook(FConfig); // still usable: it opens empty, as there is nothing to lose
        QVERIFY(nb.isVisible());
        QCOMPARE(nb.memNotebook->toPlainText(), QString());
        QCOMPARE(FPrompts->log, (QStringList{"Error: Kann Notizbuch nicht lesen!",
                                             "Error: Kann Notizbuch nicht erstellen!"}));
    }

    void opensWithFileAndSettings()
    {
        FConfig.FNoteWindow.BGColor = 0x0000FF; // red
        auto nb = Open("erste Zeile\r\n\x84Zitat\x93 \x80\r\n");
        QVERIFY(QTest::qWaitForWindowExposed(nb.get()));
        QCOMPARE(nb->memNotebook->toPlainText(), QString("erste Zeile\n„Zitat“ €"));
        QVERIFY(!nb->Modified());
        QCOMPARE(nb->memNotebook->palette().color(QPalette::Base), QColor(255, 0, 0));
        // Unchanged, it closes without a question.
        QTest::mouseClick(nb->btnClose, Qt::LeftButton); // a question would fail the test
        QVERIFY(!nb->isVisible());
    }

    void closingAChangedNotebook_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("folderInTheWay"); // a folder cannot be replaced by the file
        QTest::newRow("Abbrechen keeps") << int(IPrompts::Answer::Cancel) << false;
        QTest::newRow("Nein discards") << int(IPrompts::Answer::No) << false;
        QTest::newRow("Ja saves") << int(IPrompts::Answer::Yes) << false;
        QTest::newRow("failed save keeps") << int(IPrompts::Answer::Yes) << true;
    }

    void closingAChangedNotebook()
    {
        QFETCH(int, answer);
        QFETCH(bool, folderInTheWay);
        auto nb = Open("alt\r\n");
        QTest::keyClicks(nb->memNotebook, "neu ");
        if (folderInTheWay) QVERIFY(QFile::remove(NoteFile()) && QDir().mkdir(NoteFile()));
        const auto given = IPrompts::Answer(answer);
        const bool closes = !folderInTheWay && given != IPrompts::Answer::Cancel;
        FPrompts->answers = {given};
        if (given == IPrompts::Answer::Cancel) // "Schliessen" asks as the close box does
            QTest::mouseClick(nb->btnClose, Qt::LeftButton);
        else
            QCOMPARE(nb->close(), closes);
        QStringList log{"Confirm3: Notizbuch wurde geändert. Änderungen speichern ?"};
        if (folderInTheWay) log << "Error: Kann Notizbuch nicht speichern!";
        QCOMPARE(FPrompts->log, log);
        QCOMPARE(nb->isVisible(), !closes);
        QCOMPARE(nb->Modified(), !closes);
        const QByteArray shown = nb->memNotebook->toPlainText().toLatin1() + "\r\n";
        QVERIFY(shown.contains("neu ") && shown.contains("alt"));
        if (!folderInTheWay)
            QCOMPARE(ReadFile(NoteFile()), given == IPrompts::Answer::Yes ? shown : "alt\r\n");
        if (given == IPrompts::Answer::No)
            QVERIFY(nb->CloseQuery()); // nothing left to ask at program end
    }

    void savedLinesSurviveReopening_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("after");
        QTest::newRow("empty last line does not grow")
            << QByteArray("a\r\n\r\n") << QByteArray("a\r\n\r\n");
        QTest::newRow("Windows-1252, lf only, last line unended")
            << QByteArray("Gr\xFC\xDF" "e \xD6lf\n\x80 5\xA0Taler\n\nEnde")
            << QByteArray("Gr\xFC\xDF" "e \xD6lf\r\n\x80 5\xA0Taler\r\n\r\nEnde\r\n");
    }

    void savedLinesSurviveReopening()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, after);
        auto nb = Open(before);
        for (int round = 0; round < 2; ++round) {
            // Unchanged text marked changed, as an edit undone by hand would.
            nb->memNotebook->moveCursor(QTextCursor::Start);
            QTest::keyClick(nb->memNotebook, Qt::Key_X);
            QTest::keyClick(nb->memNotebook, Qt::Key_Backspace);
            FPrompts->answers = {IPrompts::Answer::Yes};
            QVERIFY(nb->close());
            QCOMPARE(ReadFile(NoteFile()), after);
            // Written through a temporary file that is gone afterwards.
            QCOMPARE(QDir(FFolder->path()).entryList(QDir::Files), QStringList{"mudnotiz.txt"});
            nb->OpenNotebook(FConfig);
        }
        nb->close();
    }

    void printsEveryLineToPdf()
    {
        // An empty memo asks nothing; one long line wraps onto more than one page.
        for (const QByteArray& file : {QByteArray(), QByteArray(30000, 'x') + "\r\n"}) {
            QVERIFY(WriteFile(NoteFile(), file));
            TPdfNotebook nb;
            nb.FPdf = FFolder->file("notiz.pdf");
            nb.OpenNotebook(FConfig);
            QTest::mouseClick(nb.sbPrint, Qt::LeftButton);
            QCOMPARE(nb.FAsked, file.isEmpty() ? 0 : 1);
            QCOMPARE(PdfPages(nb.FPdf) > 1, !file.isEmpty());
        }
    }

    void connectDialogClosesOnlyByButtonsAndStartsEmpty()
    {
        TMudOpenFrm dlg;
        ShowActive(dlg);
        QTest::keyClicks(dlg.edtHost, "mud.example.org");
        for (QWidget* w : QList<QWidget*>{dlg.edtHost, dlg.btnConnect})
            for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
                QTest::keyClick(w, key);
        QVERIFY(dlg.isVisible());
        QTest::mouseClick(dlg.btnConnect, Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Accepted));

        ShowActive(dlg);
        QCOMPARE(dlg.edtHost->text() + dlg.edtPort->text(), QString("7600"));
        QTest::mouseClick(dlg.btnCancel, Qt::LeftButton);
        QCOMPARE(dlg.result(), int(QDialog::Rejected));
    }

    void aliasAndPathNameDialog()
    {
        auto dlg = ShowEdit("", TMudEditFields::emAlias);
        QTest::keyClick(dlg->edtShortcut, Qt::Key_Return); // empty shortcut: nothing happens
        QCOMPARE(QApplication::focusWidget(), dlg->edtShortcut);
        QTest::keyClicks(dlg->edtShortcut, "gs");
        QTest::keyClick(dlg->edtShortcut, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), dlg->edtValue);
        QTest::keyClicks(dlg->edtValue, "sage Hallo");
        QTest::keyClick(dlg->edtValue, Qt::Key_Enter, Qt::KeypadModifier);
        QByteArray shortcut, value;
        QVERIFY(dlg->TakeResult(shortcut, value));
        QCOMPARE(shortcut + '|' + value, QByteArray("gs|sage Hallo"));

        // "&Ok" without a value hands back nothing.
        dlg = ShowEdit("", TMudEditFields::emAlias);
        QTest::keyClicks(dlg->edtShortcut, "x");
        QTest::mouseClick(dlg->btnOk, Qt::LeftButton);
        QCOMPARE(dlg->result(), int(QDialog::Accepted));
        QVERIFY(!dlg->TakeResult(shortcut, value));
        QCOMPARE(shortcut + '|' + value, QByteArray("gs|sage Hallo"));

        // The main window presets the value with the input line's text: Enter confirms.
        dlg = ShowEdit("oeffne tuer|norden", TMudEditFields::emAlias);
        QTest::keyClick(dlg->edtShortcut, Qt::Key_T);
        QTest::sendKeyEvent(QTest::Click, dlg->edtShortcut, Qt::Key_Udiaeresis, QString("ü"),
                            Qt::NoModifier);
        QTest::keyClick(dlg->edtShortcut, Qt::Key_R);
        QTest::keyClick(dlg->edtShortcut, Qt::Key_Return);
        QVERIFY(dlg->TakeResult(shortcut, value));
        QCOMPARE(shortcut + '|' + value, QByteArray("t\xFCr|oeffne tuer|norden"));

        // A path has no value field: Enter closes at once.
        dlg = ShowEdit("n;n;o;", TMudEditFields::emPath);
        QVERIFY(!dlg->edtValue->isVisible());
        QTest::keyClicks(dlg->edtShortcut, "weg");
        QTest::keyClick(dlg->edtShortcut, Qt::Key_Return);
        QVERIFY(dlg->TakeResult(shortcut, value));
        QCOMPARE(shortcut + '|' + value, QByteArray("weg|n;n;o;"));
    }

    void pathSwitchListsPathsInOrder()
    {
        TMudConfig config;
        config.FAliases = {"kein/pfad"};
        // 0x81 has no character; the name must still come back as stored.
        config.FPaths = {"zurueck/s;s;", "anfang/n;o;", "x\x81y/w;"};

        TMudPathSwitchFrm dlg;
        dlg.Prepare(config);
        ShowActive(dlg);
        QCOMPARE(dlg.lbPaths->count(), 3);
        QCOMPARE(dlg.lbPaths->item(0)->text(), QString("zurueck"));
        QByteArray path = "vorher", shortcut = "vorher";
        QTest::mouseClick(dlg.btnOk, Qt::LeftButton); // nothing selected
        QVERIFY(!dlg.TakeResult(path, shortcut));
        QCOMPARE(path, QByteArray("vorher"));

        ShowActive(dlg);
        dlg.lbPaths->item(2)->setSelected(true);
        QTest::keyClicks(dlg.edtNewShortcut, "yx");
        QTest::mouseClick(dlg.btnOk, Qt::LeftButton);
        QVERIFY(dlg.TakeResult(path, shortcut));
        QCOMPARE(path + '|' + shortcut, QByteArray("x\x81y|yx"));
    }

    // The second word of the revision keyword; runs of blanks count as one.
    void aboutBuildLabel()
    {
        TMudAboutFrm dlg;
        dlg.Prepare("  $Revision:   2.7   $");
        QCOMPARE(dlg.Build->text(), QString(" Build 2.7"));
        dlg.Prepare("1.35 ");
        QCOMPARE(dlg.Build->text(), QString(" Build "));
    }

private:
    std::unique_ptr<TempProgramFolder> FFolder;
    std::unique_ptr<ScriptedPrompts> FPrompts;
    TMudConfig FConfig;

    QString NoteFile() const { return FFolder->file("mudnotiz.txt"); }
    std::unique_ptr<TMudNoteBookFrm> Open(const QByteArray& file)
    {
        WriteFile(NoteFile(), file);
        auto nb = std::make_unique<TMudNoteBookFrm>();
        nb->OpenNotebook(FConfig);
        return nb;
    }
};

QTEST_MAIN(TestSmallDialogs)
#include "tst_smalldialogs.moc"
