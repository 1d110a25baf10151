// The configuration model (records, the shared name space, change rules, helpers, the
// way back from a stored path) and its .mud file: name resolution, the exact written
// form, reading defaults, and files edited by hand (the file is the player's, so nothing
// in it may be lost or crash us).
#include "FileRig.h"
#include "ScriptedPrompts.h"
#include "TempProgramFolder.h"
#include "ThrownBy.h"
#include "config/MudConfig.h"
#include "platform/Errors.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QTest>

namespace
{

const QByteArray kHeader = "[Version]\r\nValue=V1.0b1\r\n";

// Every field away from the value a new or a read configuration has.
const QString kFull = GOLDEN_DIR "/full.mud";

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
    void init()
    {
        FFolder = new TempProgramFolder;
        QDir().mkpath(FFolder->file("conf"));
    }

    void cleanup()
    {
        delete FFolder;
        FFolder = nullptr;
    }

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
        c.FAliases = c.FPaths = c.FSessions = c.FHighlights = {"a/1"};
        c.PutAlias(0, {"b", "2/3"});
        c.PutPath(0, {"p", "n;"});
        c.PutSession(0, {"s", "host", ""});
        c.PutHighlight(0, {"Ork", 10, 16});
        for (int i : {-1, 1}) { // out of range: nothing
            c.PutAlias(i, {"zz", "zz"});
            c.PutPath(i, {"zz", "zz"});
            c.PutSession(i, {"zz", "zz", "1"});
            c.PutHighlight(i, {"zz", 1, 1});
        }
        QCOMPARE(c.FAliases + c.FPaths + c.FSessions + c.FHighlights,
                 TStringList({"b/2/3", "p/n;", "s/host/7600", "Ork/10/16"}));
        QVERIFY(!c.FModified);
    }

    void nameSpaceIsSharedAndExact()
    {
        TMudConfig c;
        QVERIFY(c.SetPath("n", "n;"));
        QVERIFY(!c.SetAlias("n", "x")); // taken by a path
        QVERIFY(c.SetAlias("N", "x"));  // exact comparison
        QVERIFY(c.SetAlias("foo", "1"));
        QVERIFY(c.SetAlias("Foo", "2")); // a second entry, not a replacement
        QCOMPARE(c.FAliases.size(), 3);
        QVERIFY(c.SetAlias("foo", "3"));
        QCOMPARE(c.FAliases.at(1), QByteArray("foo/3"));
        c.FModified = false;
        QVERIFY(!c.DeleteAlias("n")); // belongs to the paths
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
        c.FModified = false;
        QVERIFY(!c.DeleteTab("SCHWERT"));
        QVERIFY(c.DeleteTab("Schwert"));
        QVERIFY(c.FModified);
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
        c.SetFuncKey(0, "hilfe");
        c.SetFuncKey(20, "x");
        QCOMPARE(c.GetFuncKey(-1) + c.GetFuncKey(0) + c.GetFuncKey(20) + c.GetFuncKey(21),
                 QByteArray("hilfex"));
        QVERIFY(!c.FModified);
        c.ClearFuncKeys();
        QCOMPARE(c.GetFuncKey(20), QByteArray());
        const int i = c.FNumPadsList.AddLayout(QByteArray(150, 'n'));
        QCOMPARE(pads.Items(i).Name.size(), 100);
        c.FNumPadsList.DeleteLayout(pads.Count()); // out of range: nothing
        c.FNumPadsList.DeleteLayout(0);
        QCOMPARE(pads.Count(), 3);
        QCOMPARE(pads.Items(0).Name, QByteArray("Klettern"));
    }

    void splitString()
    {
        // The text, and its pieces joined by "|" with their number: trimmed, empty pieces
        // dropped, a piece of blanks kept empty, a trailing separator gives an empty last
        // piece, a leading one none.
        const struct {
            const char *text, *pieces;
            int count;
        } rows[] = {{"n; s ;;o ", "n|s|o ", 3}, {"n; ;s", "n||s", 3}, {"n;s;", "n|s|", 3},
                    {" x ", " x ", 1},          {";n", "n", 1}};
        for (const auto& r : rows) {
            TStringList list{"old"};
            SplitString(';', r.text, list);
            QCOMPARE(list.join('|'), QByteArray(r.pieces));
            QCOMPARE(list.size(), r.count);
        }
    }

    void colourTable()
    {
        // The first, second, red and last entries, names in any case.
        const struct {
            const char* name;
            int index;
            TColor color;
        } rows[] = {{"schwarz", 1, 0}, {"Dunkelrot", 2, 0x000080}, {"Rot", 10, 0x0000FF},
                    {"WEISS", 16, 0xFFFFFF}};
        for (const auto& r : rows) {
            int found = 0;
            QVERIFY2(ColorNameToIndex(r.name, found), r.name);
            QCOMPARE(found, r.index);
            QCOMPARE(IndexToColor(r.index), r.color);
            QCOMPARE(ColorToIndex(r.color), r.index);
        }
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

    void reversePath()
    {
        // A path and its way back: one-letter steps trimmed, unknown steps kept; the last
        // step keeps its blank; empty steps vanish; every opposite, in any case.
        const QByteArray rows[][2] = {
            {"N; O ;hoch;kletter hoch;u", "u;kletter hoch;runter;w;s;"},
            {"n; o", " o;s;"},
            {"n;;s;", "n;s;"},
            {"n;o;h;r;w;s;NW;sw;so;no;rein;Runter;links;rechts;vorne;zurueck;linksunten;"
             "rechtsunten;linksoben;Rechtsoben;raus",
             "rein;linksunten;rechtsunten;linksoben;rechtsoben;vorne;zurueck;links;rechts;hoch;"
             "raus;sw;nw;no;so;n;o;h;r;w;s;"}};
        for (const auto& [path, back] : rows) {
            TMudConfig c;
            c.FPaths = {"hin/" + path};
            QCOMPARE(c.ReversePath("hin", "zurueck"), 0);
            QVERIFY(c.FModified);
            QCOMPARE(c.FPaths.last(), "zurueck/" + back);
        }
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

    void resolvesNames()
    {
        // A bare name, an extension replaced, backslash folders, only an extension, dots in
        // folder names; resolved relative to the program folder, or absolute.
        const QString rows[][2] = {{"mymud", "conf/mymud.mud"}, {"x.txt", "conf/x.mud"},
                                   {"/muds\\sub\\x.txt", "/muds/sub/x.mud"},
                                   {".txt", "conf/.mud"}, {"/a.b/c", "/a.b/c.mud"}};
        for (const auto& [name, resolved] : rows) {
            const QString expected = resolved.startsWith('/') ? resolved : FFolder->file(resolved);
            QCOMPARE(TMudConfig::ResolveFileName(name), QDir::cleanPath(expected));
        }
        // Relative folders resolve against the current folder.
        QCOMPARE(TMudConfig::ResolveFileName("sub/y"),
                 QDir::current().absoluteFilePath("sub/y.mud"));
    }

    void freshConfigurationGivesTheGoldenFile()
    {
        TMudConfig c;
        c.FModified = true;
        QCOMPARE(c.SaveToFile("fresh"), 0);
        QVERIFY(!c.FModified);
        QCOMPARE(c.FFileName, conf("fresh.mud"));
        QCOMPARE(ReadFile(conf("fresh.mud")), ReadFile(GOLDEN_DIR "/fresh.mud"));
    }

    // Only the version: reading defaults, not a new configuration's; no layouts added. By hand:
    // blanks after single values are dropped, list entries keep theirs; Style loses unknown
    // bits; "nein" and "12x" are no numbers; layouts are read while a name or key describes
    // them, whatever Count says; names and keys are cut. Every field set: saved back as it was.
    void readsWhatTheFileSaysAndWritesItBack()
    {
        const QString rows[][2] = {{"min.mud", "min-saved.mud"}, {"hand.mud", "hand-saved.mud"},
                                   {"full.mud", "full.mud"}};
        for (const auto& [input, saved] : rows) {
            TMudConfig c;
            QCOMPARE(c.LoadFromFile(kFull), 0);
            c.SetFuncKey(10, "bleibt"); // keys beyond the file's Count stay
            c.FModified = true;
            QCOMPARE(c.LoadFromFile(GOLDEN_DIR "/" + input), 0);
            QVERIFY(!c.FModified);
            QCOMPARE(c.SaveToFile("back-" + input), 0); // a new file: a save keeps old keys
            QVERIFY2(ReadFile(conf("back-" + input)) == ReadFile(GOLDEN_DIR "/" + saved),
                     qPrintable(input));
        }
    }

    void assignCopiesDeepAndMarksModified()
    {
        TMudConfig c, copy; // three default layouts before
        QCOMPARE(c.LoadFromFile(kFull), 0);
        copy.Assign(c);
        QVERIFY(copy.FModified);
        QCOMPARE(copy.FFileName, c.FFileName);
        QCOMPARE(copy.SaveToFile("copy"), 0);
        QCOMPARE(ReadFile(conf("copy.mud")), ReadFile(kFull));
        copy.FNumPadsList.Items(0).Name = "x";
        QCOMPARE(c.FNumPadsList.Items(0).Name, QByteArray("Laufen"));
    }

    void refusesMissingFileAndWrongVersion()
    {
        TMudConfig c;
        c.FAliases = {"keep/me"};
        c.FModified = true;
        QCOMPARE(c.LoadFromFile("nix"), -1);
        QCOMPARE(c.FFileName, conf("nix.mud"));
        QVERIFY(WriteFile(conf("old.mud"), "[Version]\r\nValue=v1.0b1\r\n[Alias]\r\n0=x/y\r\n"));
        QCOMPARE(c.LoadFromFile("old"), -2);
        QVERIFY(WriteFile(conf("none.mud"), "[Alias]\r\n0=x/y\r\n"));
        QCOMPARE(c.LoadFromFile("none"), -2);
        QDir().mkpath(conf("dir.mud"));
        QCOMPARE(c.LoadFromFile("dir"), -1);
        QCOMPARE(c.SaveToFile("dir"), -3);
        QCOMPARE(c.FAliases, TStringList({"keep/me"}));
        QVERIFY(c.FModified);
    }

    void savingKeepsHandWrittenKeysAndStaleLayouts()
    {
        QVERIFY(WriteFile(conf("mine.mud"),
                          "; my notes\r\n[Version]\r\nValue=V1.0b1\r\nNote=mine\r\n[Extra]\r\n"
                          "x=1\r\n[Div]\r\nHost=old\r\nColour=blue\r\n"));
        TMudConfig c;
        QCOMPARE(c.LoadFromFile("mine"), 0);
        c.FNumPadsList.ClearLayouts();
        c.FNumPadsList.AddDefaultLayouts();
        c.FHost = "new";
        c.SetAlias("a", "b");
        c.AddTab("t");
        QCOMPARE(c.SaveToFile("mine"), 0);
        QVERIFY(ReadFile(conf("mine.mud")).contains("[Alias]\r\n0=a/b\r\n"));
        c.FNumPadsList.DeleteLayout(2);
        c.FNumPadsList.DeleteLayout(1);
        c.DeleteAlias("a"); // an emptied list leaves no section
        QCOMPARE(c.SaveToFile("mine"), 0);
        // Notes, unknown sections and keys kept in place; layouts 1 and 2 stale.
        QCOMPARE(ReadFile(conf("mine.mud")), ReadFile(GOLDEN_DIR "/kept.mud"));
        TMudConfig r;
        QCOMPARE(r.LoadFromFile("mine"), 0);
        QCOMPARE(r.FNumPadsList.Count(), 1);
    }

    void badInputNeverCrashes_data()
    {
        QTest::addColumn<QByteArray>("contents");
        QTest::addColumn<int>("result");
        QTest::newRow("empty file") << QByteArray() << -2;
        static const char junk[] = "\x00\xFF[\x01=\x02\n\r\r[[]]=\x00";
        QTest::newRow("binary junk") << QByteArray(junk, sizeof(junk) - 1) << -2;
        QTest::newRow("huge func count") << kHeader + "[Func]\nCount=2147483647\n20=x\n" << 0;
        QTest::newRow("negative numpad count") << kHeader + "[NumPad]\nCount=-5\n" << 0;
        QTest::newRow("huge numpad count") << kHeader + "[NumPad]\nCount=2147483647\nName_0=a\n"
                                           << 0;
        QTest::newRow("number overflow") << kHeader + "[Div]\nInterval=99999999999999999999\n" << 0;
        QTest::newRow("unclosed section") << kHeader + "[Div\nHost=x\n" << 0;
        QTest::newRow("version without line end") << QByteArray("[Version]\nValue=V1.0b1") << 0;
    }

    void badInputNeverCrashes()
    {
        QFETCH(QByteArray, contents);
        QFETCH(int, result);
        QVERIFY(WriteFile(conf("bad.mud"), contents));
        TMudConfig c;
        QCOMPARE(c.LoadFromFile("bad"), result);
        QVERIFY(c.FNumPadsList.Count() <= 3);
        QCOMPARE(c.FSaveInterval == 600 || c.FSaveInterval == 1, true);
    }

    void failedSaveKeepsOldFile()
    {
        TMudConfig c;
        QCOMPARE(c.SaveToFile("voll"), 0);
        const QString path = conf("voll.mud");
        const QByteArray before = ReadFile(path);
        c.SetAlias("neu", "x");
        QString message;
        UnderFileSizeLimit([&] { message = ThrownBy<EWriteError>([&] { c.SaveToFile("voll"); }); });
        QCOMPARE(message, "Kann nicht nach " + path + " schreiben");
        QVERIFY(c.FModified);
        QCOMPARE(ReadFile(path), before);
        // A folder that does not exist fails the same way.
        QVERIFY_THROWS_EXCEPTION(EWriteError, c.SaveToFile("/nonexistent-kmc-folder/x"));
    }

    // Paths are kept as the file system gives them: a player's folder named outside
    // Windows-1252 still loads and saves. Only conf/default.mud itself is the default.
    void foldersOutsideWindows1252AndTheDefaultFile()
    {
        const QString folder =
            FFolder->file(QString::fromUtf8("\xC5\x81ukasz \xD0\x98\xD0\xB2\xD0\xB0\xD0\xBD/"));
        QVERIFY(QDir().mkpath(folder + "conf"));
        ProgramFolder::setOverride(folder);
        TMudConfig c;
        c.SetAlias("a", "b");
        QCOMPARE(c.SaveToFile("x"), 0);
        QCOMPARE(c.FFileName, folder + "conf/x.mud");
        TMudConfig r;
        QCOMPARE(r.LoadFromFile(c.FFileName), 0);
        QCOMPARE(r.FAliases, TStringList({"a/b"}));
        QVERIFY(TMudConfig::IsDefaultFile("default.mud"));
        QVERIFY(TMudConfig::IsDefaultFile(folder + "conf/DEFAULT.MUD"));
        QVERIFY(!TMudConfig::IsDefaultFile("mydefault"));
        QVERIFY(!TMudConfig::IsDefaultFile(folder + "default.mud")); // not in conf/
        ProgramFolder::setOverride(FFolder->path());
    }

private:
    TempProgramFolder* FFolder = nullptr;
    QString conf(const QString& name) const { return FFolder->file("conf/" + name); }
};

QTEST_GUILESS_MAIN(TestMudConfig)
#include "tst_mudconfig.moc"
