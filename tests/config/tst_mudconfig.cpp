// The configuration model: records, the shared name space, change rules, helpers and the
// way back from a stored path.
#include "ScriptedPrompts.h"
#include "config/MudConfig.h"
#include "platform/Errors.h"

#include <QTest>

namespace
{

// The record a getter hands back, as "index:field|field...".
QByteArray Fetch(const TMudConfig& c, char kind, const QByteArray& name, int index)
{
    QByteArray fields;
    if (kind == 'a') {
        TMAlias r;
        c.GetAlias(name, index, r);
        fields = r.Name + '|' + r.Value;
    } else if (kind == 'p') {
        TMPath r{"x", "y"};
        c.GetPath(name, index, r);
        fields = r.Name + '|' + r.Value;
    } else if (kind == 's') {
        TMSession r;
        c.GetSession(name, index, r);
        fields = r.Name + '|' + r.Host + '|' + r.Port;
    } else {
        TMHighlight r;
        try {
            c.GetHighlight(name, index, r);
        } catch (const EConvertError& e) {
            return e.Message().toLatin1();
        }
        fields = r.Text + '|' + QByteArray::number(r.Foreground) + '|' +
                 QByteArray::number(r.Background);
    }
    return QByteArray::number(index) + ':' + fields;
}

} // namespace

class TestMudConfig : public QObject
{
    Q_OBJECT
private slots:
    void records_data()
    {
        QTest::addColumn<char>("kind");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("record");
        QTest::newRow("split at the first slash") << 'a' << "go" << -1 << "0:go|say a/b";
        QTest::newRow("no slash: whole by index") << 'a' << "" << 1 << "1:look|";
        QTest::newRow("no slash: no name") << 'a' << "look" << 1 << "-1:|";
        QTest::newRow("slash in front: empty name") << 'a' << "" << 2 << "2:|x";
        QTest::newRow("index beyond the end") << 'p' << "" << 5 << "-1:|";
        QTest::newRow("by index") << 'p' << "" << 2 << "2:c|o;";
        // Lookup by name ignores case although FindNameSlot does not.
        QTest::newRow("by name, first in any case") << 'p' << "FOO" << -1 << "1:foo|s;";
        QTest::newRow("session without host") << 's' << "" << 1 << "1:bare||7600";
        QTest::newRow("session without port") << 's' << "" << 2 << "2:y|h|";
        QTest::newRow("highlight without colours") << 'h' << "" << 1 << "1:plain|9|1";
        QTest::newRow("highlight by name") << 'h' << "drache" << -1 << "0:Drache|10|1";
        QTest::newRow("colours keep the low 8 bits") << 'h' << "" << 2 << "2:big|44|1";
        QTest::newRow("highlight not found") << 'h' << "nix" << 0 << "-1:|9|1";
        QTest::newRow("colour a word") << 'h' << "" << 3 << "'rot' ist kein gültiger Integerwert";
        QTest::newRow("no background") << 'h' << "" << 4 << "'' ist kein gültiger Integerwert";
        QTest::newRow("no foreground") << 'h' << "" << 5 << "'' ist kein gültiger Integerwert";
    }

    void records()
    {
        QFETCH(char, kind);
        QFETCH(QString, name);
        QFETCH(int, index);
        QFETCH(QString, record);
        TMudConfig c;
        c.FAliases = {"go/say a/b", "look", "/x"};
        c.FPaths = {"a/n;", "foo/s;", "c/o;", "Foo/w;"};
        c.FSessions = {"x/host/4711", "bare", "y/h"};
        c.FHighlights = {"Drache/10/1", "plain", "big/300/257", "ork/rot/1", "elf/5", "elf//5"};
        QCOMPARE(Fetch(c, kind, name.toLatin1(), index), record.toLatin1());
    }

    void putBuildsEntriesWithoutMarkingModified()
    {
        TMudConfig c;
        c.FAliases = {"a/1"};
        c.FSessions = {"s/h/1"};
        c.FHighlights = {"t/1/1"};
        c.PutAlias(0, {"b", "2/3"});
        c.PutSession(0, {"s", "host", ""});
        c.PutHighlight(0, {"Ork", 10, 16});
        for (int i : {-1, 1}) { // out of range: nothing
            c.PutAlias(i, {"zz", "zz"});
            c.PutSession(i, {"zz", "zz", "1"});
            c.PutHighlight(i, {"zz", 1, 1});
        }
        QCOMPARE(c.FAliases + c.FSessions + c.FHighlights,
                 TStringList({"b/2/3", "s/host/7600", "Ork/10/16"}));
        QVERIFY(!c.FModified);
    }

    void nameSpaceIsSharedAndExact()
    {
        TMudConfig c;
        QVERIFY(c.SetPath("n", "n;"));
        QVERIFY(!c.SetAlias("n", "x")); // taken by a path
        QVERIFY(c.SetAlias("N", "x"));  // exact comparison
        QVERIFY(c.SetAlias("foo", "1"));
        c.FModified = false;
        QVERIFY(c.SetAlias("Foo", "2")); // a second entry, not a replacement
        QCOMPARE(c.FAliases.size(), 3);
        QVERIFY(c.SetAlias("foo", "3"));
        QCOMPARE(c.FAliases.at(1), QByteArray("foo/3"));
        QCOMPARE(c.FindNameSlot("n", lkAlias), -2);
        QCOMPARE(c.FindNameSlot("n", lkPath), 0);
        QCOMPARE(c.FindNameSlot("zzz", lkPath), -1);
        c.FModified = false;
        QVERIFY(!c.DeleteAlias("n")); // belongs to the paths
        QVERIFY(!c.DeleteAlias("nix"));
        QVERIFY(!c.FModified);
        QVERIFY(c.DeletePath("n"));
        QVERIFY(c.FModified);
        // A hand-edited file may hold one name in two lists: the first list reports it.
        c.FSessions = {"dup/h/1"};
        c.FPaths = {"dup/n;"};
        QCOMPARE(c.FindNameSlot("dup", lkSession), -2);
        QCOMPARE(c.FindNameSlot("dup", lkPath), 0);
    }

    void findCommandNameFollowsAliasCase()
    {
        TMudConfig c;
        c.FAliases = {"Tanz/tanze"};
        c.FPaths = {"heim/n;"};
        c.FSessions = {"mud/h/1"};
        int kind = 7, index = 7;
        QVERIFY(!c.FindCommandName("tanz", kind, index));
        QCOMPARE(kind, 7); // untouched on no match
        QVERIFY(c.FindCommandName("mud", kind, index));
        QCOMPARE(kind, int(lkSession));
        c.FAliasCase = false;
        QVERIFY(c.FindCommandName("tanz", kind, index));
        QCOMPARE(kind, int(lkAlias));
        QVERIFY(c.FindCommandName("HEIM", kind, index));
        QCOMPARE(kind, int(lkPath));
        QCOMPARE(index, 0);
    }

    void sessionHostAndPortSplitAtBlank()
    {
        TMudConfig c;
        QVERIFY(c.SetSession("x", "host 4711"));
        QCOMPARE(c.FSessions.last(), QByteArray("x/host/4711"));
        QVERIFY(c.SetSession("x", "host"));
        QVERIFY(c.SetSession("y", " 4711"));
        QCOMPARE(c.FSessions, TStringList({"x//host", "y//4711"}));
        QCOMPARE(Fetch(c, 's', "x", -1), QByteArray("0:x||host"));
    }

    void highlightsAndTabsAreExactAndModifyRules()
    {
        TMudConfig c;
        QVERIFY(c.SetHighlight("Drache", "10/1"));
        QVERIFY(c.FModified);
        QVERIFY(c.SetHighlight("drache", "12/1"));
        QVERIFY(c.SetHighlight("Drache", "13/2"));
        QCOMPARE(c.FHighlights, TStringList({"Drache/13/2", "drache/12/1"}));
        c.FModified = false;
        QVERIFY(!c.DeleteHighlight("DRACHE"));
        QVERIFY(!c.FModified);
        QVERIFY(c.DeleteHighlight("Drache"));
        QVERIFY(c.FModified);
        QCOMPARE(c.FHighlights, TStringList({"drache/12/1"}));

        c.FModified = false;
        QVERIFY(c.AddTab("Schwert"));
        QVERIFY(c.FModified);
        c.FModified = false;
        QVERIFY(!c.AddTab("Schwert"));
        QVERIFY(!c.FModified);
        QVERIFY(c.AddTab("schwert"));
        QVERIFY(!c.DeleteTab("SCHWERT"));
        QVERIFY(c.DeleteTab("Schwert"));
        QCOMPARE(c.FTabs, TStringList({"schwert"}));
    }

    void clearListsAsksFirst()
    {
        ScriptedPrompts prompts;
        TMudConfig c;
        c.FAliases = c.FHighlights = c.FPaths = c.FSessions = c.FTabs = {"a/b"};
        prompts.answers = {IPrompts::Answer::No, IPrompts::Answer::Yes};
        QVERIFY(!c.ClearLists(prompts));
        QVERIFY(!c.FModified);
        QCOMPARE(c.FAliases.size(), 1);
        QVERIFY(c.ClearLists(prompts));
        QVERIFY((c.FAliases + c.FHighlights + c.FPaths + c.FSessions + c.FTabs).isEmpty());
        QVERIFY(c.FModified);
        QCOMPARE(prompts.log.first(),
                 QString("Confirm2: Alle Aliase, Ergaenzungen, Hervorhebungen, Pfade\r\nund "
                         "Sitzungen werden nun gelöscht.\r\n\r\nWeiter?"));
    }

    void functionKeysAndDefaultLayouts()
    {
        TMudConfig c;
        const TNumPadKeyList& pads = c.FNumPadsList; // the default layouts: golden file
        c.SetFuncKey(21, "ignored");
        c.SetFuncKey(-1, "ignored");
        QCOMPARE(c.GetFuncKey(21), QByteArray());
        c.SetFuncKey(20, "x");
        QVERIFY(!c.FModified);
        c.ClearFuncKeys();
        QCOMPARE(c.GetFuncKey(20), QByteArray());
        const int i = c.FNumPadsList.AddLayout(QByteArray(150, 'n'));
        QCOMPARE(pads.Items(i).Name.size(), 100);
        c.FNumPadsList.DeleteLayout(pads.Count()); // out of range: nothing
        QCOMPARE(pads.Count(), 4);
    }

    void splitString_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QStringList>("pieces");
        QTest::newRow("trimmed, empty dropped") << "n; s ;;o " << QStringList{"n", "s", "o "};
        QTest::newRow("piece of blanks kept empty") << "n; ;s" << QStringList{"n", "", "s"};
        QTest::newRow("trailing separator") << "n;s;" << QStringList{"n", "s", ""};
        QTest::newRow("no separator") << " x " << QStringList{" x "};
        QTest::newRow("empty text") << "" << QStringList{""};
        QTest::newRow("leading separator") << ";n" << QStringList{"n"};
        QTest::newRow("control characters trimmed") << "\tn\r;s" << QStringList{"n", "s"};
    }

    void splitString()
    {
        QFETCH(QString, text);
        QFETCH(QStringList, pieces);
        TStringList list{"old"};
        SplitString(';', text.toLatin1(), list);
        QCOMPARE(QString::fromLatin1(list.join('|')), pieces.join('|'));
        QCOMPARE(list.size(), pieces.size());
    }

    void colourTable_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<int>("index");
        QTest::addColumn<TColor>("color");
        QTest::newRow("first") << QByteArray("schwarz") << 1 << TColor(0);
        QTest::newRow("second") << QByteArray("Dunkelrot") << 2 << TColor(0x000080);
        QTest::newRow("green") << QByteArray("gruen") << 3 << TColor(0x008000);
        QTest::newRow("red") << QByteArray("Rot") << 10 << TColor(0x0000FF);
        QTest::newRow("blue") << QByteArray("BLAU") << 13 << TColor(0xFF0000);
        QTest::newRow("last") << QByteArray("WEISS") << 16 << TColor(0xFFFFFF);
    }

    void colourTable()
    {
        QFETCH(QByteArray, name);
        QFETCH(int, index);
        QFETCH(TColor, color);
        int found = 0;
        QVERIFY(ColorNameToIndex(name, found));
        QCOMPARE(found, index);
        QCOMPARE(IndexToColor(index), color);
        QCOMPARE(ColorToIndex(color), index);
    }

    void colourOutsideTheTableAndRects()
    {
        int index = 0;
        QVERIFY(!ColorNameToIndex("gr\xFCn", index));
        QCOMPARE(ColorToIndex(0x010203), -1);
        QCOMPARE(IndexToColor(0), TColor(0));
        QCOMPARE(IndexToColor(17), TColor(0));
        const TRect r{10, 20, 30, 40};
        QVERIFY(PointInRect(r, 11, 21));
        QVERIFY(!PointInRect(r, 10, 25));
        QVERIFY(!PointInRect(r, 20, 40) && !PointInRect(r, 30, 25) && !PointInRect(r, 20, 20));
    }

    void reversePath_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("back");
        QTest::newRow("compass") << "n;o;no" << "sw;w;s;";
        QTest::newRow("trimmed one-letter step, long step kept") << "N; O ;hoch;kletter hoch"
                                                                 << "kletter hoch;runter;w;s;";
        QTest::newRow("spelled out, any case") << "Rechtsoben;raus" << "rein;linksunten;";
        QTest::newRow("unknown one-letter step stays") << "n;u;s" << "n;u;s;";
        QTest::newRow("last step keeps its blank") << "n; o" << " o;s;";
        QTest::newRow("empty steps vanish") << "n;;s;" << "n;s;";
        QTest::newRow("empty path") << "" << "";
        QTest::newRow("all opposites")
            << "h;r;w;s;nw;sw;so;rein;runter;links;rechts;vorne;zurueck;linksunten;rechtsunten;"
               "linksoben"
            << "rechtsunten;linksoben;rechtsoben;vorne;zurueck;links;rechts;hoch;raus;nw;no;so;n;"
               "o;h;r;";
    }

    void reversePath()
    {
        QFETCH(QString, path);
        QFETCH(QString, back);
        TMudConfig c;
        c.FPaths = {"hin/" + path.toLatin1()};
        QCOMPARE(c.ReversePath("hin", "zurueck"), 0);
        QVERIFY(c.FModified);
        QCOMPARE(c.FPaths.last(), "zurueck/" + back.toLatin1());
    }

    void reversePathResults()
    {
        TMudConfig c;
        c.FPaths = {"heim/n;"};
        c.FAliases = {"tanz/x"};
        QCOMPARE(c.ReversePath("weg", "neu"), -1);
        QCOMPARE(c.ReversePath("heim", "tanz"), -2);
        QCOMPARE(c.ReversePath("heim", "heim"), -2);
        QVERIFY(!c.FModified);
        QCOMPARE(c.FPaths.size(), 1);
        QCOMPARE(c.ReversePath("HEIM", "Heim"), 0); // source found in any case, name exact
        QCOMPARE(c.FPaths.last(), QByteArray("Heim/s;"));
    }
};

QTEST_GUILESS_MAIN(TestMudConfig)
#include "tst_mudconfig.moc"
