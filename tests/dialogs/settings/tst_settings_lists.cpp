#include "SettingsTestUtil.h"

#include "dialogs/settings/PageHighlights.h"
#include "dialogs/settings/PageLists.h"
#include "display/controls/FnpComboColor.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace
{

void Click(QAbstractButton* button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

// A click into a list box, as the player does it.
void ClickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                      list->visualItemRect(list->item(row)).center());
}

QStringList Rows(const QListWidget* list)
{
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

} // namespace

class TstSettingsLists : public QObject
{
    Q_OBJECT
private slots:
    void addingRefusesTakenNames_data()
    {
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("message");
        QTest::newRow("alias named like a path") << 0 << "weg"
                                                 << "Warning: Kürzel bereits belegt.";
        QTest::newRow("path name holding a slash") << 2 << "a/b"
                                                   << "Warning: Ein Kürzel darf kein \"/\" enthalten.";
        QTest::newRow("word differing in case") << 1 << "DRACHE"
                                                << "Warning: Ergänzung existiert bereits.";
    }

    void addingRefusesTakenNames()
    {
        QFETCH(int, list);
        QFETCH(QString, name);
        QFETCH(QString, message);
        TSettingsFixture f;
        f.config.FAliases = {"gg/sage gute Nacht"};
        f.config.FPaths = {"weg/n;o;"};
        f.config.FTabs = {"drache", "zwerg"};
        TMudConfFrm& dlg = f.Open(spLists);
        TListsPage& page = *dlg.PageLists;
        Choose(page.cbLists, list);
        const QStringList before = Rows(page.lbShortcuts);
        const int selected = page.lbShortcuts->currentRow();

        f.prompts.inputs << name;
        Click(page.btnListAdd);
        QCOMPARE(f.prompts.log.last(), message);
        QCOMPARE(Rows(page.lbShortcuts), before);
        QCOMPARE(page.lbShortcuts->currentRow(), selected);
        QCOMPARE(f.Work().FAliases.size() + f.Work().FPaths.size() + f.Work().FTabs.size() +
                     f.Work().FSessions.size(),
                 4);
    }

    void newSessionHasNoHostUntilChanged()
    {
        TSettingsFixture f;
        TMudConfFrm& dlg = f.Open(spLists);
        TListsPage& page = *dlg.PageLists;
        Choose(page.cbLists, TListsPage::lcSessions);
        f.prompts.inputs << "vez";
        Click(page.btnListAdd);
        QCOMPARE(page.edtSessionPort->text(), QStringLiteral("7600"));
        QCOMPARE(f.Work().FSessions, TStringList{"vez"});
        Type(page.edtSessionHost, "mud.vezoriza.de");
        page.edtSessionPort->selectAll();
        Type(page.edtSessionPort, "4711");
        Click(page.btnSessionChange);
        QCOMPARE(f.Work().FSessions, TStringList{"vez/mud.vezoriza.de/4711"});
    }

    void pendingValueGoesToTheEntryItWasTypedFor()
    {
        TSettingsFixture f;
        f.config.FAliases = {"a/1", "b/2"};
        TMudConfFrm& dlg = f.Open(spLists);
        TListsPage& page = *dlg.PageLists;
        Type(page.edtValue, "1");
        f.prompts.answers << IPrompts::Answer::Yes;
        ClickRow(page.lbShortcuts, 1);
        QCOMPARE(f.Work().FAliases, (TStringList{"a/11", "b/2"}));
        QCOMPARE(page.edtShortCut->text(), QStringLiteral("b"));
        QCOMPARE(page.edtValue->text(), QStringLiteral("2"));
    }

    void renameRefusalsAndSuccess()
    {
        TSettingsFixture f;
        f.config.FAliases = {"a/1", "b/2"};
        f.config.FTabs = {"Drache", "Zwerg"};
        TMudConfFrm& dlg = f.Open(spLists);
        TListsPage& page = *dlg.PageLists;
        f.prompts.inputs << "a"
                         << "b"
                         << "c";
        Click(page.btnListRename); // its own name is found too
        QCOMPARE(f.prompts.log.last(),
                 QStringLiteral("Error: Kann Alias nicht umbenennen.\r\nKürzel ist bereits vergeben."));
        Click(page.btnListRename);
        QCOMPARE(f.Work().FAliases, (TStringList{"a/1", "b/2"}));
        Click(page.btnListRename);
        QCOMPARE(Rows(page.lbShortcuts), (QStringList{"c", "b"}));

        Choose(page.cbLists, TListsPage::lcTabs);
        f.prompts.inputs << "zwerg";
        Click(page.btnListRename);
        QCOMPARE(f.prompts.log.last(), QStringLiteral("Error: Kann Ergänzung nicht umbenennen, da eine "
                                                      "\r\nErgänzung mit gleichem Namen existiert."));
    }

    void deletingSelectsSameOrLastOrNone()
    {
        TSettingsFixture f;
        f.config.FPaths = {"a/n;", "b/s;", "c/o;"};
        TMudConfFrm& dlg = f.Open(spLists);
        TListsPage& page = *dlg.PageLists;
        Choose(page.cbLists, TListsPage::lcPaths);
        ClickRow(page.lbShortcuts, 2);

        f.prompts.answers << IPrompts::Answer::No << IPrompts::Answer::Yes << IPrompts::Answer::Yes
                          << IPrompts::Answer::Yes;
        Click(page.btnListDelete);
        QCOMPARE(f.Work().FPaths.size(), 3);
        Click(page.btnListDelete);
        QCOMPARE(f.prompts.log.last(), QStringLiteral("Confirm2: Möchtest Du diesen Eintrag löschen?"));
        QCOMPARE(page.edtValue->text(), QStringLiteral("s;")); // the new last
        ClickRow(page.lbShortcuts, 0);
        Click(page.btnListDelete);
        QCOMPARE(page.edtShortCut->text(), QStringLiteral("b")); // the same row
        Click(page.btnListDelete);
        QVERIFY(f.Work().FPaths.isEmpty());
        QCOMPARE(page.lbShortcuts->currentRow(), -1);
        QVERIFY(!page.btnListRename->isEnabled() && !page.btnListDelete->isEnabled());
        QCOMPARE(page.edtShortCut->text(), QString());
    }

    void highlightStartsLightGreyOnBlackAndRefusesDuplicates()
    {
        TSettingsFixture f;
        f.config.FHighlights = {"Drache/10/1"};
        TMudConfFrm& dlg = f.Open(spHighlights);
        THighlightsPage& page = *dlg.PageHighlights;
        QCOMPARE(page.cbVGColor->currentText(), QStringLiteral("Schwarz"));

        for (const char* text : {"  drache ", "ein/aus", "   "}) {
            page.edtHighlight->setText(text);
            Click(page.btnHighlightAdd);
        }
        QCOMPARE(f.prompts.log, (QStringList{"Warning: " + THighlightsPage::kDuplicate,
                                             "Warning: Eine Hervorhebung darf kein \"/\" enthalten."}));
        QCOMPARE(f.Work().FHighlights.size(), 1);

        Choose(page.cbVGColor, 11);
        page.edtHighlight->setText(" Zwerg ");
        Click(page.btnHighlightAdd);
        QCOMPARE(f.Work().FHighlights, (TStringList{"Drache/10/1", "Zwerg/9/1"}));
        QCOMPARE(page.edtHighlight->palette().color(QPalette::Base), QColor(Qt::black));
    }

    void highlightChangeAndDelete()
    {
        TSettingsFixture f;
        f.config.FHighlights = {"Drache/10/1", "Zwerg/9/1", "Ork/3/1"};
        TMudConfFrm& dlg = f.Open(spHighlights);
        THighlightsPage& page = *dlg.PageHighlights;
        ClickRow(page.lbHighlightList, 0);
        // A colour chosen and another entry clicked: "&Ja" stores into the entry shown.
        Choose(page.cbBGColor, 15);
        QVERIFY(page.btnHighlightChange->isEnabled());
        f.prompts.answers << IPrompts::Answer::Yes;
        ClickRow(page.lbHighlightList, 1);
        QCOMPARE(f.Work().FHighlights.mid(0, 2), (TStringList{"Drache/10/16", "Zwerg/9/1"}));

        page.edtHighlight->selectAll();
        Type(page.edtHighlight, "drache");
        Click(page.btnHighlightChange);
        QCOMPARE(f.prompts.log.last(), "Warning: " + THighlightsPage::kDuplicate);
        page.edtHighlight->selectAll();
        Type(page.edtHighlight, "Zwerge ");
        Click(page.btnHighlightChange);
        QCOMPARE(page.lbHighlightList->item(1)->text(), QStringLiteral("Zwerge"));

        f.prompts.answers << IPrompts::Answer::No << IPrompts::Answer::Yes;
        Click(page.btnHighlightDelete);
        QCOMPARE(f.Work().FHighlights.size(), 3);
        Click(page.btnHighlightDelete);
        QCOMPARE(f.Work().FHighlights, (TStringList{"Drache/10/16", "Ork/3/1"}));
        QCOMPARE(page.cbVGColor->currentText(), QStringLiteral("Grün")); // "Ork" shown
    }
};

QTEST_MAIN(TstSettingsLists)
#include "tst_settings_lists.moc"
