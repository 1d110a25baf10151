// The statistics window: grid, host totals, deleting, clearing, sorting and handing back.
#include "ScriptedPrompts.h"
#include "VorkaTestLog.h"
#include "stats/ui/Mudvorka.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QLabel>
#include <QTest>
#include <QTimer>

using Answer = IPrompts::Answer;

namespace {

QStringList Column(const QTableWidget* grid, int column)
{
    QStringList texts;
    for (int r = 0; r < grid->rowCount(); ++r)
        texts << grid->item(r, column)->text();
    return texts;
}

void ClickHeader(QTableWidget* grid, int column)
{
    QHeaderView* header = grid->horizontalHeader();
    const QPoint at(header->sectionViewportPosition(column) + header->sectionSize(column) / 2,
                    header->height() / 2);
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, at);
}

// Runs `drive` on the modal statistics window once Execute has shown it.
void WhenShown(std::function<void(TVorkaOMaticFrm*)> drive)
{
    QTimer::singleShot(0, [drive] {
        auto* frm = qobject_cast<TVorkaOMaticFrm*>(QApplication::activeModalWidget());
        QVERIFY(frm);
        drive(frm);
        if (frm->isVisible())
            frm->reject();
    });
}

} // namespace

class TestVorkaOMaticFrm : public QObject {
    Q_OBJECT
private slots:
    void emptyLogShowsHeaderOnly()
    {
        ScriptedPrompts prompts;
        TVorkaOMatic log;
        TVorkaOMaticFrm frm(nullptr, &prompts);
        frm.Prepare(log);
        QCOMPARE(frm.LogGrid->rowCount(), 0);
        QCOMPARE(frm.cbHostList->count(), 0);
        QVERIFY(frm.edtOnlineTime->text().isEmpty());
        // "Hosts" has no Alt letter of its own: Alt+H belongs to "&HTML".
        QVERIFY(!frm.findChildren<QLabel*>().isEmpty());
        for (const QLabel* label : frm.findChildren<QLabel*>())
            QVERIFY2(!label->text().contains("&H"), qPrintable(label->text()));

        frm.btnDeleteEntry->click(); // a question here would fail the test
        QVERIFY(prompts.log.isEmpty());
        QVERIFY(!frm.HandBack(log));
        QVERIFY(!log.FModified);
    }

    void gridRowsAndHostTotals()
    {
        ScriptedPrompts prompts;
        TVorkaOMatic log;
        AddConnection(log, "mud.example.org", "05.12.1998 13:09:47", "05.12.1998 14:02:11");
        AddConnection(log, "other", "06.12.1998 23:59:30", "07.12.1998 00:00:30");
        AddConnection(log, "zero", "07.12.1998 10:00:00", "07.12.1998 10:00:00");
        AddConnection(log, "mud.example.org", "08.12.1998 10:00:00", "08.12.1998 11:00:01");
        TVorkaOMaticFrm frm(nullptr, &prompts);
        frm.Prepare(log);

        QCOMPARE(Column(frm.LogGrid, 4),
                 (QStringList{"0h 52m 24s", "0h 01m 00s", "0h 00m 00s", "1h 00m 01s"}));
        QCOMPARE(frm.cbHostList->count(), 3);
        QCOMPARE(frm.edtOnlineTime->text(),
                 QStringLiteral("0 Jahre, 0 Tage, 1 Stunde, 52 Minuten und 25 Sekunden"));
        frm.cbHostList->setCurrentIndex(2);
        frm.cbHostListChange();
        QCOMPARE(frm.edtOnlineTime->text(), QStringLiteral("Keine Daten verfügbar..."));
        QVERIFY(!frm.Log().FModified);
    }

    void deleteOnlyEntryOfLastHost_data()
    {
        QTest::addColumn<QStringList>("hosts");
        QTest::addColumn<QString>("selectedAfter");
        QTest::addColumn<QString>("totalAfter");
        QTest::newRow("two hosts remain: none selected, total kept")
            << QStringList{"a", "b", "c"} << QString()
            << QStringLiteral("0 Jahre, 0 Tage, 0 Stunden, 1 Minute und 0 Sekunden");
        QTest::newRow("one host remains: it is selected")
            << QStringList{"a", "c"} << QStringLiteral("a")
            << QStringLiteral("0 Jahre, 0 Tage, 1 Stunde, 0 Minuten und 0 Sekunden");
    }

    void deleteOnlyEntryOfLastHost()
    {
        QFETCH(QStringList, hosts);
        QFETCH(QString, selectedAfter);
        QFETCH(QString, totalAfter);
        ScriptedPrompts prompts;
        TVorkaOMatic log;
        for (const QString& h : hosts)
            AddConnection(log, h.toLatin1(), "01.02.2003 10:00:00",
                          h == "c" ? "01.02.2003 10:01:00" : "01.02.2003 11:00:00");
        TVorkaOMaticFrm frm(nullptr, &prompts);
        frm.Prepare(log);
        frm.cbHostList->setCurrentIndex(frm.cbHostList->count() - 1);
        frm.cbHostListChange();
        frm.LogGrid->setCurrentCell(Column(frm.LogGrid, 1).indexOf("c"), 0);

        prompts.answers = {Answer::Yes};
        frm.btnDeleteEntry->click();
        QCOMPARE(prompts.log, QStringList{"Confirm2: Markierten Eintrag entfernen?"});
        QCOMPARE(frm.LogGrid->rowCount(), hosts.size() - 1);
        QCOMPARE(Column(frm.LogGrid, 1).indexOf("c"), -1);
        QCOMPARE(frm.cbHostList->count(), hosts.size() - 1);
        QCOMPARE(frm.cbHostList->currentText(), selectedAfter);
        QCOMPARE(frm.cbHostList->currentIndex() < 0, selectedAfter.isEmpty());
        QCOMPARE(frm.edtOnlineTime->text(), totalAfter);
        QVERIFY(!frm.Log().FEntries.join('\n').contains("/c/"));
        QVERIFY(frm.Log().FModified);
    }

    void clearLogAsksTwice_data()
    {
        QTest::addColumn<QList<Answer>>("answers");
        QTest::addColumn<int>("questions");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("no at the first question") << QList<Answer>{Answer::No} << 1 << false;
        QTest::newRow("cancel at the second question")
            << QList<Answer>{Answer::Yes, Answer::No} << 2 << false;
        QTest::newRow("confirmed twice") << QList<Answer>{Answer::Yes, Answer::Yes} << 2 << true;
    }

    void clearLogAsksTwice()
    {
        QFETCH(QList<Answer>, answers);
        QFETCH(int, questions);
        QFETCH(bool, cleared);
        ScriptedPrompts prompts;
        TVorkaOMatic log;
        AddConnection(log, "a", "01.02.2003 10:00:00", "01.02.2003 11:00:00");
        AddConnection(log, "b", "01.02.2003 12:00:00", "01.02.2003 12:30:00");
        TVorkaOMaticFrm frm(nullptr, &prompts);
        frm.Prepare(log);
        const QString total = frm.edtOnlineTime->text();

        prompts.answers = answers;
        frm.btnClearLog->click();
        QCOMPARE(prompts.log.size(), questions);
        QCOMPARE(prompts.log.first(), QStringLiteral("Confirm2: Alle Einträge aus Log-Datei entfernen?"));
        if (questions == 2)
            QCOMPARE(prompts.log.last(),
                     QStringLiteral("ConfirmOk: Bitte Löschen der Ternu-O-Matic(tm) Log-Datei bestätigen !"));
        QCOMPARE(frm.Log().Count(), cleared ? 0 : 2);
        QCOMPARE(frm.LogGrid->rowCount(), cleared ? 0 : 2);
        QCOMPARE(frm.cbHostList->count(), cleared ? 0 : 2);
        QCOMPARE(frm.edtOnlineTime->text(), total);
        QCOMPARE(frm.Log().FModified, cleared);
    }

    void executeHandsBackOnlyChanges()
    {
        ScriptedPrompts prompts;
        TVorkaOMatic log;
        AddConnection(log, "a", "01.02.2003 10:00:00", "01.02.2003 11:00:00");

        WhenShown([](TVorkaOMaticFrm* frm) {
            QCOMPARE(frm->LogGrid->rowCount(), 1);
            QTest::keyClick(frm, Qt::Key_Escape);
            QVERIFY(!frm->isVisible());
        });
        QVERIFY(!TVorkaOMaticFrm::Execute(log));
        QCOMPARE(log.Count(), 1);
        QVERIFY(!log.FModified);

        // A connection that ends while the window is open survives the player's clearing.
        prompts.answers = {Answer::Yes, Answer::Yes};
        WhenShown([&log](TVorkaOMaticFrm* frm) {
            AddConnection(log, "b", "02.02.2003 10:00:00", "02.02.2003 11:00:00");
            frm->btnClearLog->click();
            frm->btnClose->click();
            QVERIFY(!frm->isVisible());
        });
        QVERIFY(TVorkaOMaticFrm::Execute(log));
        QCOMPARE(log.Count(), 1);
        QCOMPARE(log.GetEntry(0).Host, QByteArray("b"));
        QVERIFY(log.FModified);
    }

    void sortByValueThenDeleteMarkedRow()
    {
        ScriptedPrompts prompts;
        TVorkaOMatic log;
        AddConnection(log, "b", "01.01.2020 08:00:00", "01.01.2020 18:00:00"); // 10h
        AddConnection(log, "a", "05.12.1998 09:30:00", "05.12.1998 19:00:00"); // 9h 30m
        AddConnection(log, "d", "02.03.2001 10:00:00", "02.03.2001 10:00:05"); // 5s
        AddConnection(log, "c", "03.03.2001 07:00:00", "03.03.2001 07:01:00"); // 1m
        TVorkaOMaticFrm frm(nullptr, &prompts);
        frm.Prepare(log);

        ClickHeader(frm.LogGrid, 4);
        QCOMPARE(Column(frm.LogGrid, 1), (QStringList{"d", "c", "a", "b"}));
        ClickHeader(frm.LogGrid, 0); // by date, not by text
        QCOMPARE(Column(frm.LogGrid, 1), (QStringList{"a", "d", "c", "b"}));
        ClickHeader(frm.LogGrid, 2);
        QCOMPARE(Column(frm.LogGrid, 1), (QStringList{"c", "b", "a", "d"}));
        QVERIFY(!frm.Log().FModified);

        prompts.answers = {Answer::Yes, Answer::Yes};
        frm.LogGrid->setCurrentCell(1, 0); // "b", log entry 0
        frm.btnDeleteEntry->click();
        // Every later row now stands for a shifted log entry; the next deletion must still match.
        frm.LogGrid->setCurrentCell(1, 0); // "a", log entry 0 now
        frm.btnDeleteEntry->click();
        QCOMPARE(Column(frm.LogGrid, 1), (QStringList{"c", "d"}));
        QCOMPARE(frm.Log().FEntries.size(), 2);
        for (int r = 0; r < frm.LogGrid->rowCount(); ++r)
            QCOMPARE(frm.Log().GetEntry(frm.LogIndexOfRow(r)).Host,
                     frm.LogGrid->item(r, 1)->text().toLatin1());
    }

    void unreadableLineReportedOnceAndKept()
    {
        ScriptedPrompts prompts;
        TVorkaOMatic log;
        AddConnection(log, "a", "01.02.2003 10:00:00", "01.02.2003 11:00:00");
        log.FEntries << "kaputt/x/y/z" << "01.02.2003/b/01.02.2003 12:00/nie";
        AddConnection(log, "c", "01.02.2003 13:00:00", "01.02.2003 13:30:00");
        log.FModified = false;
        TVorkaOMaticFrm frm(nullptr, &prompts);
        frm.Prepare(log);

        QCOMPARE(prompts.log, QStringList{"Error: 'kaputt' ist kein gültiges Datum und Zeit"});
        QCOMPARE(Column(frm.LogGrid, 1), (QStringList{"a", "c"}));

        prompts.answers = {Answer::Yes};
        frm.LogGrid->setCurrentCell(1, 0);
        frm.btnDeleteEntry->click();
        QVERIFY(frm.HandBack(log));
        QCOMPARE(log.Count(), 3);
        QCOMPARE(log.FEntries.at(1), QByteArray("kaputt/x/y/z"));
        QCOMPARE(log.FEntries.at(2), QByteArray("01.02.2003/b/01.02.2003 12:00/nie"));
    }
};

QTEST_MAIN(TestVorkaOMaticFrm)
#include "tst_vorkaomaticfrm.moc"
