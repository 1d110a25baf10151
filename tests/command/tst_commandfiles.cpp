// The commands that read or write files beside the program: #help with mudhelp.txt,
// #log, #dir and #notiz; and the shipped help file itself.

#include "CommandFixture.h"
#include "TempProgramFolder.h"
#include "command/CommandTable.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>

namespace
{

void WriteFile(const QString& name, const QByteArray& contents)
{
    QFile file(name);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(contents);
}

QByteArray ReadFile(const QString& name)
{
    QFile file(name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class TestCommandFiles : public QObject
{
    Q_OBJECT
private slots:
    void helpFormat()
    {
        TempProgramFolder folder;
        WriteFile(folder.file("mudhelp.txt"),
                  "[MAP]\r\n1=#map_<schritt>\r\n2=\\\r\n3=__eingerueckt_\r\n"
                  "[PATH]\r\n1=falsch\r\n");
        CommandFixture f;
        f.Commands.Interpreter().ShowHelp(ciMap);
        QCOMPARE(f.Console.Text(),
                 QByteArray("\r\n--- Hilfe ---\r\n#map <schritt>\r\n\r\n  eingerueckt \r\n"
                            "--- Ende Hilfe ---\r\n\r\n"));
        QCOMPARE(f.Sink.FOutputLines.mid(1),
                 (QList<QByteArray>{"", "--- Hilfe ---", "#map <schritt>", "", "  eingerueckt ",
                                    "--- Ende Hilfe ---", ""}));
    }

    void helpMissingFileOrSection()
    {
        TempProgramFolder folder;
        CommandFixture f;
        // No file, a file without the section, a folder in place of the file.
        for (int step = 0; step < 3; ++step) {
            if (step == 1) WriteFile(folder.file("mudhelp.txt"), "[ALIAS]\r\n1=x\r\n");
            if (step == 2)
                QVERIFY(QFile::remove(folder.file("mudhelp.txt")) &&
                        QDir(folder.path()).mkdir("mudhelp.txt"));
            f.Reset();
            f.Line("#help map");
            QCOMPARE(f.Console.Text(),
                     QByteArray("\r\n--- Hilfe ---\r\n--- Ende Hilfe ---\r\n\r\n"));
            QVERIFY(!f.Sink.FHelpActive);
        }
    }

    void shippedHelpCoversEveryCommand()
    {
        TIniFile ini(QStringLiteral(HELP_FILE));
        QVERIFY(ini.Load());
        for (int i = 0; i < kCommandCount; ++i) {
            if (i == ciHigh || i == ciUnhigh || i == ciQuestion) continue;
            const QList<QByteArray> values = ini.ReadSectionValues(CommandName(i));
            QVERIFY2(values.size() >= 3, CommandName(i).constData());
            for (const QByteArray& v : values)
                QVERIFY2(v.size() <= 80, v.constData());
        }
    }

    void logNameGoesIntoLogFolder_data()
    {
        QTest::addColumn<QByteArray>("typed");
        QTest::addColumn<QString>("file");
        QTest::newRow("backslash folders dropped")
            << QByteArray("..\\..\\conf\\default.mud") << "default.log";
        QTest::newRow("parent folders dropped") << QByteArray("../../../evil") << "evil.log";
        QTest::newRow("dot dot alone stays inside") << QByteArray("..") << "..log";
        QTest::newRow("last dot only") << QByteArray("a.b.c") << "a.b.log";
    }

    void logNameGoesIntoLogFolder()
    {
        QFETCH(QByteArray, typed);
        QFETCH(QString, file);
        TempProgramFolder folder;
        CommandFixture f;
        f.Line("#log " + typed);
        QVERIFY(f.Log.LogActive());
        QCOMPARE(f.Log.FLogFileName, folder.path() + "log/" + file);
        QVERIFY(QFile::exists(folder.file("log/" + file)));
        // Nothing else was created anywhere in or above the program folder.
        QCOMPARE(QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
                 QStringList{"log"});
        QCOMPARE(QDir(folder.file("log"))
                     .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList{file});
    }

    void logAppendsOrOverwritesAndStops()
    {
        TempProgramFolder folder;
        QDir().mkpath(folder.file("log"));
        WriteFile(folder.file("log/test.log"), "ALT\r\n");
        CommandFixture f;
        f.Line("#log test.txt");
        QVERIFY(f.Log.LogActive());
        f.Line("#log anders.txt neu"); // any arguments: stops the open log
        QVERIFY(!f.Log.LogActive());
        QVERIFY(!QFile::exists(folder.file("log/anders.log")));
        QVERIFY(ReadFile(folder.file("log/test.log")).startsWith("ALT\r\n<LOG gestartet am "));
        f.Line("#log test x");
        QVERIFY(f.Log.LogActive());
        f.Line("#log");
        QVERIFY(ReadFile(folder.file("log/test.log")).startsWith("<LOG gestartet am "));
        const QStringList m = f.Messages();
        QCOMPARE(m.size(), 4);
        QVERIFY(m[0].startsWith("I:Starte Log \"") && m[0].endsWith("log/test.log\"."));
        QVERIFY(m[1].startsWith("I:Stoppe Log"));
    }

    void logWithoutName()
    {
        TempProgramFolder folder;
        CommandFixture f;
        f.Line("#log|#log /|#log a\\");
        QCOMPARE(f.Messages(), QStringList(3, "E:Keine Logfile-Datei angegeben!"));
        QVERIFY(!f.Log.LogActive());
    }

    void dirListsMudFiles()
    {
        TempProgramFolder folder;
        QDir().mkpath(folder.file("conf"));
        for (const char* name : {"eins.mud", "ZWEI.MUD", "drei.txt", "conf/default.mud"})
            WriteFile(folder.file(name), "");
        CommandFixture f;
        f.Line("#dir");
        QCOMPARE(f.Messages(), QStringList{"I:Folgende Dateien wurden im Verzeichnis " +
                                           folder.path() + " gefunden:"});
        QList<QByteArray> listed = f.Sink.FOutputLines.mid(1);
        std::sort(listed.begin(), listed.end());
        QCOMPARE(listed, (QList<QByteArray>{"ZWEI.MUD", "eins.mud"}));
        f.Reset();
        f.Line("#dir conf");
        QCOMPARE(f.Messages(),
                 QStringList{"I:Folgende Dateien wurden im Verzeichnis conf/ gefunden:"});
        QVERIFY(f.Console.Text().contains("\r\ndefault.mud\r\n"));
        f.Reset();
        f.Line("#dir " + folder.file("conf\\").toLatin1());
        QVERIFY(f.Console.Text().contains("\r\ndefault.mud\r\n"));
        // A missing folder, and a folder without configurations.
        f.Reset();
        QDir().mkpath(folder.file("leer"));
        f.Line("#dir gibtsnicht|#dir leer");
        QCOMPARE(f.Messages(), QStringList(2, "E:Keine Konfigurations-Dateien gefunden!"));
    }

    void notizAppendsThreeLines()
    {
        TempProgramFolder folder;
        WriteFile(folder.file("mudnotiz.txt"), "alt\r\n");
        CommandFixture f;
        f.Line("#notiz Brot   kaufen");
        QCOMPARE(f.Messages(), QStringList{"I:Notiz hinzugefuegt."});
        const QList<QByteArray> lines = ReadFile(folder.file("mudnotiz.txt")).split('\n');
        QCOMPARE(lines.size(), 5);
        QCOMPARE(lines[0], QByteArray("alt\r"));
        QCOMPARE(lines[1], QByteArray("\r"));
        QVERIFY(QRegularExpression("^\\d\\d\\.\\d\\d\\.\\d{4}( \\d\\d:\\d\\d:\\d\\d)?\\r$")
                    .match(QString::fromLatin1(lines[2]))
                    .hasMatch());
        QCOMPARE(lines[3], QByteArray("Brot kaufen\r"));
        QCOMPARE(lines[4], QByteArray());
    }

    void notizInReadOnlyFolder()
    {
        TempProgramFolder folder;
        CommandFixture f;
        const QStringList failed{"Error: Kann Eintrag in Notizbuch nicht vornehmen!"};
        // A folder in place of the notebook: its data cannot be read, nothing is written.
        QVERIFY(QDir(folder.path()).mkdir("mudnotiz.txt"));
        f.Line("#notiz x");
        QCOMPARE(f.Prompts.log, failed);
        QVERIFY(f.Messages().isEmpty()); // the failure is not reported as success
        // A program folder that cannot take the file (here: it does not exist).
        f.Prompts.log.clear();
        ProgramFolder::setOverride(folder.file("fehlt"));
        f.Line("#notiz x");
        ProgramFolder::setOverride(folder.path());
        QCOMPARE(f.Prompts.log, failed);
        // A read-only folder, where the rights are not ignored.
        QVERIFY(QDir(folder.path()).rmdir("mudnotiz.txt"));
        f.Prompts.log.clear();
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        const bool ignored = QFile(folder.file("probe")).open(QIODevice::WriteOnly);
        f.Line("#notiz x");
        QFile::setPermissions(folder.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ExeOwner);
        if (ignored) QSKIP("running with rights that ignore folder permissions");
        QCOMPARE(f.Prompts.log, failed);
    }
};

QTEST_GUILESS_MAIN(TestCommandFiles)
#include "tst_commandfiles.moc"
