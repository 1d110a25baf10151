// The .mud file: name resolution, the exact written form, reading defaults, and files
// edited by hand (the file is the player's, so nothing in it may be lost or crash us).
#include "FileRig.h"
#include "ThrownBy.h"
#include "TempProgramFolder.h"
#include "config/MudConfig.h"
#include "platform/Errors.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QTest>

namespace
{

const QByteArray kHeader = "[Version]\r\nValue=V1.0b1\r\n";

// Every field away from the value a new or a read configuration has.
void Fill(TMudConfig& c)
{
    c.SetAlias("tanz", "tanze mit %1/%2");
    c.SetAlias("lang", QByteArray(10000, 'x')); // no length limit
    c.SetPath("heim", "n;o;\xE4u\xDF");
    c.SetSession("mud", "localhost 4711");
    c.SetHighlight("Drache", "10/1");
    c.AddTab("Schwert");
    c.SetFuncKey(13, "toete ork");
    c.FNumPadsList.AddLayout("vier");
    c.FNumPadsList.Items(1).Option = 1;
    c.FNumPadsList.Items(1).Keys[1] = "null"; // keypad 0
    c.FNumPadsList.Items(2).Keys[15] = "geteilt";
    c.FOutputWindow.FFont = {"DejaVu Sans Mono", 11, 0x00FF00, fsBold | fsItalic};
    c.FOutputWindow.BGColor = 0x102030;
    c.FNoteWindow.BGColor = clWindow; // a system colour is negative in the file
    c.FLogWindow.FFont.Size = 3;
    c.FAliasCase = c.FTabCase = false;
    c.FAutoConnect = c.FAutoLog = c.FAutoSave = c.FLogOverwrite = true;
    c.FClearInput = c.FShadeDirection = true;
    c.FHost = "mud.example";
    c.FPort = "23";
    c.FLogFile = "abend";
    c.FSaveInterval = 5;
    c.FShadeFromColor = 3;
    c.FShadeToColor = 4;
    c.FShadeSteps = 5;
}

} // namespace

class TestMudConfigFile : public QObject
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

    void resolvesNames_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("resolved"); // relative to the program folder, or absolute
        QTest::newRow("bare name") << "mymud" << "conf/mymud.mud";
        QTest::newRow("extension replaced") << "x.txt" << "conf/x.mud";
        QTest::newRow("backslash folders") << "/muds\\sub\\x.txt" << "/muds/sub/x.mud";
        QTest::newRow("only an extension") << ".txt" << "conf/.mud";
        QTest::newRow("dots in folder names") << "/a.b/c" << "/a.b/c.mud";
    }

    void resolvesNames()
    {
        QFETCH(QString, name);
        QFETCH(QString, resolved);
        const QString expected = resolved.startsWith('/') ? resolved : FFolder->file(resolved);
        QCOMPARE(TMudConfig::ResolveFileName(name), QDir::cleanPath(expected));
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
        const QByteArray written = ReadFile(conf("fresh.mud"));
        const QByteArray golden = ReadFile(GOLDEN_DIR "/fresh.mud");
        QVERIFY(!golden.isEmpty());
        QCOMPARE(written, golden);
    }

    void roundTripKeepsEverything()
    {
        // Saving what was read gives the same file: nothing was lost on the way.
        TMudConfig c, r;
        Fill(c);
        QCOMPARE(c.SaveToFile("rt"), 0);
        QCOMPARE(r.LoadFromFile("rt"), 0);
        QVERIFY(!r.FModified);
        QCOMPARE(r.FNumPadsList.Items(1).Keys[1], QByteArray("null"));
        QCOMPARE(r.SaveToFile("back"), 0);
        QCOMPARE(ReadFile(conf("back.mud")), ReadFile(conf("rt.mud")));
    }

    void assignCopiesEverythingAndMarksModified()
    {
        TMudConfig src, dst; // three default layouts before
        Fill(src);
        src.FFileName = "/x/y.mud";
        src.FModified = false;
        dst.Assign(src);
        QVERIFY(dst.FModified);
        QCOMPARE(dst.FFileName, src.FFileName);
        QCOMPARE(src.SaveToFile("a"), 0);
        QCOMPARE(dst.SaveToFile("b"), 0);
        QCOMPARE(ReadFile(conf("b.mud")), ReadFile(conf("a.mud")));
        // The copy is deep: changing it leaves the source alone.
        dst.FNumPadsList.Items(0).Name = "x";
        QCOMPARE(src.FNumPadsList.Items(0).Name, QByteArray("Laufen"));
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

    void readingDefaultsDifferFromCreation()
    {
        QVERIFY(WriteFile(conf("min.mud"), kHeader));
        TMudConfig c;
        Fill(c);
        c.FHighlights = c.FPaths = c.FSessions = c.FTabs = {"weg/1"};
        c.SetFuncKey(4, "bleibt");
        QCOMPARE(c.LoadFromFile("min"), 0);
        QVERIFY((c.FAliases + c.FHighlights + c.FPaths + c.FSessions + c.FTabs).isEmpty());
        QCOMPARE(QList<int>({c.FShadeFromColor, c.FShadeToColor, c.FShadeSteps, c.FShadeDirection,
                             c.FAliasCase, c.FAutoConnect, c.FAutoLog, c.FAutoSave, c.FLogOverwrite,
                             c.FClearInput, c.FSaveInterval, c.FTabCase}),
                 QList<int>({13, 1, 20, 0, 1, 0, 0, 0, 0, 0, 600, 1}));
        QCOMPARE(c.FHost + '|' + c.FLogFile + '|' + c.FPort, QByteArray("||7600"));
        const TOutputWindow& w = c.FOutputWindow;
        QCOMPARE(QList<int>({w.FFont.Color, w.FFont.Size, w.FFont.Style, w.BGColor}),
                 QList<int>({0, 9, 0, 16777215}));
        QCOMPARE(w.FFont.Name, QByteArray("Courier New"));
        QCOMPARE(c.FNumPadsList.Count(), 0);             // defaults are not restored
        QCOMPARE(c.GetFuncKey(4), QByteArray("bleibt")); // no [Func]: keys stay
    }

    void handEditedListsAndKeypads()
    {
        // Blanks after single values are no part of them; list entries keep theirs. A
        // Count beyond the layouts the file describes adds none.
        QVERIFY(WriteFile(
            conf("hand.mud"),
            "[Version]\nValue=V1.0b1 \n[alias]\nb=look\na=\n c = say hi \n[OW]\nStyle=19\n"
            "Size=$0C\nColor=0x0000FF\nName=Liberation Mono \t\n[Func]\nCount=3\n1=hilfe\n"
            "[NumPad]\nCount=3\nName_0=" +
                QByteArray(120, 'L') + "\nKey_0_9=" + QByteArray(40, 'k') +
                "\nOption_0=1\nKey_2_1=x\n"
                "[Div]\nAC=nein\nTC=0\nInterval=12x\nHost=mud.de \nPort=4711  \n"));
        TMudConfig c;
        c.SetFuncKey(10, "bleibt");
        QCOMPARE(c.LoadFromFile("hand"), 0);
        QCOMPARE(c.FAliases, TStringList({"look", "say hi "}));
        const TFontSpec& font = c.FOutputWindow.FFont; // Style 19: extra bits dropped
        QCOMPARE(QList<int>({font.Style, font.Size, font.Color}),
                 QList<int>({fsBold | fsItalic, 12, 0xFF}));
        QCOMPARE(font.Name, QByteArray("Liberation Mono"));
        QCOMPARE(c.FHost + ':' + c.FPort, QByteArray("mud.de:4711"));
        // Keys up to Count are read, empty when missing; those above stay.
        QCOMPARE(c.GetFuncKey(1) + '|' + c.GetFuncKey(2) + '|' + c.GetFuncKey(10),
                 QByteArray("hilfe||bleibt"));
        QCOMPARE(c.FNumPadsList.Count(), 1);
        const TNumPadLayout& pad = c.FNumPadsList.Items(0);
        QCOMPARE(QList<int>({int(pad.Name.size()), int(pad.Keys[9].size()), pad.Option}),
                 QList<int>({100, 25, 1}));
        QVERIFY(c.FAliasCase && !c.FTabCase); // "nein" is no number: the default
        QCOMPARE(c.FSaveInterval, 600);       // "12x" is no number
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
        const QByteArray text = ReadFile(conf("mine.mud"));
        QVERIFY(text.startsWith(
            "; my notes\r\n[Version]\r\nValue=V1.0b1\r\nNote=mine\r\n[Extra]\r\nx=1"));
        QVERIFY(text.contains("[Div]\r\nHost=new\r\nColour=blue\r\nAC=1\r\n"));
        QVERIFY(text.contains("Count=0\r\n"));
        QVERIFY(text.contains("Name_2=Alternativ")); // stale, ignored on reading
        QVERIFY(!text.contains("[Alias]") && text.count("[Tabs]") == 1);
        TMudConfig r;
        QCOMPARE(r.LoadFromFile("mine"), 0);
        QCOMPARE(r.FNumPadsList.Count(), 1);
        QVERIFY(r.FAliases.isEmpty());
        QCOMPARE(r.FTabs, TStringList({"t"}));
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

QTEST_GUILESS_MAIN(TestMudConfigFile)
#include "tst_mudconfigfile.moc"
