// The practice MUD as a client sees it: each test starts the real program on a free
// loopback port and talks telnet to it over plain sockets.

#include "MudClient.h"

#include <QFile>
#include <QProcess>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

namespace {

enum { WILL = 251, WONT = 252, DO = 253, DONT = 254 };
const int StartMs = 15000;

QByteArray line(const QByteArray& text)
{
    return text + "\r\n";
}

// How a room's title appears; the titles are unique, unlike words in descriptions.
QByteArray title(const QByteArray& name)
{
    return "\x1b[1;33m" + name + "\x1b[0m\r\n";
}

QByteArray stripColours(QByteArray s)
{
    for (qsizetype at; (at = s.indexOf('\x1b')) >= 0;)
        s.remove(at, s.indexOf('m', at) - at + 1);
    return s;
}

} // namespace

class DemoMudTest : public QObject {
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void negotiatesAndLogsIn();
    void refusesUnknownOptionsAndSurvivesOddCommands();
    void walksBetweenRoomsAndLeaves();
    void playersInOneRoomHearEachOther();
    void floodSendsExactlyTheRequestedBytes();
    void floodDoesNotHoldUpOtherPlayers();
    void recordsEveryReceivedLine();
    void survivesHugeLinesJunkAndAbruptDisconnects();
    void sayGoodbyeOnSigint();
    void commandLine();

private:
    bool startServer(QProcess& proc, const QStringList& args, quint16& port);
    // Sends a command line and waits for expected; other players' chatter and earlier
    // prompts may come first, so answers are found by content, never by position.
    static bool answers(MudClient& c, const QByteArray& text, const QByteArray& expected);

    QTemporaryDir FDir;
    QProcess FServer;
    quint16 FPort = 0;
};

bool DemoMudTest::startServer(QProcess& proc, const QStringList& args, quint16& port)
{
    // Kept so a sanitizer report or crash of the server can be shown with the failure.
    proc.setStandardErrorFile(FDir.filePath("server.log"));
    proc.start(QStringLiteral(DEMO_MUD_PATH), args);
    if (!proc.waitForStarted(StartMs))
        return false;
    while (!proc.canReadLine() && proc.waitForReadyRead(StartMs)) {
    }
    const QByteArray first = proc.readLine().trimmed();
    if (!first.startsWith("listening on 127.0.0.1:"))
        return false;
    port = quint16(first.mid(first.lastIndexOf(':') + 1).toUInt());
    return port != 0;
}

void DemoMudTest::init()
{
    QVERIFY(FDir.isValid());
    QVERIFY(startServer(FServer, {"--record", FDir.filePath("record.txt"), "0"}, FPort));
}

void DemoMudTest::cleanup()
{
    // Every test ends with SIGTERM, which must end the server cleanly.
    if (FServer.state() != QProcess::NotRunning) {
        FServer.terminate();
        FServer.waitForFinished(StartMs);
    }
    const bool clean = FServer.exitStatus() == QProcess::NormalExit && FServer.exitCode() == 0;
    if (!clean || QTest::currentTestFailed()) {
        QFile log(FDir.filePath("server.log"));
        if (log.open(QIODevice::ReadOnly))
            qWarning("server output:\n%s", log.readAll().constData());
    }
    QVERIFY(clean);
}

bool DemoMudTest::answers(MudClient& c, const QByteArray& text, const QByteArray& expected)
{
    c.send(line(text));
    return !c.readUntil(expected).isEmpty();
}

void DemoMudTest::negotiatesAndLogsIn()
{
    MudClient c;
    QVERIFY(c.connectTo(FPort));
    const QByteArray welcome = c.readUntil("Wie heisst Du? \xFF\xF9");
    QVERIFY(welcome.startsWith(MudClient::iac(DO, 24)));
    QVERIFY(welcome.contains("R\xE4ume")); // Windows-1252: one byte per umlaut

    c.send(MudClient::iac(WILL, 24));
    QCOMPARE(c.readUntil("\xFF\xF0"), QByteArray("\xFF\xFA\x18\x01\xFF\xF0", 6));
    c.send(QByteArray("\xFF\xFA\x18\x00KMCTEST\xFF\xF0", 13));

    c.send(line("anna"));
    QCOMPARE(c.readUntil("\xFF\xF9"), MudClient::iac(WILL, 1) + "Passwort: \xFF\xF9");
    c.send(MudClient::iac(DO, 1)); // the client's consent; it needs no answer
    c.send(line("geheim"));
    const QByteArray greeting = c.readUntil(MudClient::gamePrompt());
    QVERIFY(greeting.startsWith(MudClient::iac(WONT, 1) + "\r\n"));
    QVERIFY(greeting.contains("Hallo Anna!"));
    QVERIFY(greeting.contains(title("Der Dorfplatz von Moosbach")));
    QVERIFY(answers(c, "wer", "Anna\x1b[0m [KMCTEST]"));

    // Lines end with CR LF, and nothing but the negotiation above was sent as a command.
    const QByteArray all = c.transcript();
    for (qsizetype i = 0; (i = all.indexOf('\n', i)) >= 0; ++i)
        QVERIFY2(i > 0 && all[i - 1] == '\r', all.mid(i - 20, 30).constData());
    QCOMPARE(all.count(MudClient::iac(WONT, 1)), 1);
}

void DemoMudTest::refusesUnknownOptionsAndSurvivesOddCommands()
{
    MudClient c;
    QVERIFY(c.connectTo(FPort));
    c.login("Anna");

    c.send(MudClient::iac(WILL, 31));
    QCOMPARE(c.readUntil("\x1f"), MudClient::iac(DONT, 31));
    // A verb split across two segments.
    c.send("\xFF");
    QTest::qWait(100);
    c.send("\xFD\x03");
    QCOMPARE(c.readUntil("\x03"), MudClient::iac(WONT, 3));

    // Refusals, GA, NOP and a foreign sub-negotiation are all taken silently.
    c.send(MudClient::iac(WONT, 5) + MudClient::iac(DONT, 6) + "\xFF\xF9\xFF\xF1" +
           QByteArray("\xFF\xFA\x63\x01\xFF\xFF\x02\xFF\xF0", 9));
    c.send(line("wer"));
    const QByteArray who = c.readUntil("Spieler im Spiel: 1\r\n");
    QVERIFY(who.startsWith("Spieler im Spiel"));
    QVERIFY(!c.transcript().contains(MudClient::iac(DONT, 5)));
    QVERIFY(!c.transcript().contains(MudClient::iac(WONT, 6)));
}

void DemoMudTest::walksBetweenRoomsAndLeaves()
{
    MudClient c;
    QVERIFY(c.connectTo(FPort));
    c.login("Anna");

    QVERIFY(answers(c, "rein", title("Die Taverne \"Zum Tapferen Hasen\"")));
    QVERIFY(!c.readUntil("Ausg\xE4nge: hoch, raus.").isEmpty());
    QVERIFY(answers(c, "h", title("Eine Dachkammer")));
    QVERIFY(answers(c, "runter", title("Die Taverne \"Zum Tapferen Hasen\"")));
    QVERIFY(answers(c, "raus", title("Der Dorfplatz von Moosbach")));
    QVERIFY(answers(c, "norden", title("Die Marktgasse")));
    QVERIFY(answers(c, "no", "Dort geht es nicht weiter."));
    QVERIFY(answers(c, "S", title("Der Dorfplatz von Moosbach")));
    QVERIFY(answers(c, "s", title("Das S\xFC" "dtor")));
    QVERIFY(answers(c, "sw", title("Am Waldrand")));
    QVERIFY(answers(c, "schaue", title("Am Waldrand")));
    QVERIFY(answers(c, "tanze", "Wie bitte?"));
    QVERIFY(answers(c, "hilfe", "flood <KB>"));

    c.send(line("ende"));
    QVERIFY(!c.readUntil("Auf Wiedersehen, Anna!").isEmpty());
    QVERIFY(c.closedByPeer());
}

void DemoMudTest::playersInOneRoomHearEachOther()
{
    MudClient anna, bert, cora;
    QVERIFY(anna.connectTo(FPort) && bert.connectTo(FPort) && cora.connectTo(FPort));
    anna.login("Anna");
    bert.login("Bert");
    QVERIFY(!anna.readUntil("Bert betritt das Spiel.").isEmpty());
    cora.login("Cora");
    QVERIFY(answers(cora, "rein", title("Die Taverne \"Zum Tapferen Hasen\"")));

    // A typed 255 arrives doubled, is stored once and goes out doubled again.
    anna.send(line("sage Hallo \xFF\xFF!"));
    QVERIFY(!anna.readUntil("Du sagst: Hallo \xFF\xFF!").isEmpty());
    QVERIFY(!bert.readUntil("Anna sagt: Hallo \xFF\xFF!").isEmpty());
    // Escape sequences in what a player says do not reach the others.
    anna.send(line("sage \x1b[31mrot"));
    QVERIFY(!bert.readUntil("Anna sagt: [31mrot").isEmpty());
    cora.send(line("wer"));
    QVERIFY(!cora.readUntil("Spieler im Spiel: 3").contains("sagt"));

    QVERIFY(answers(bert, "rein", "Hier ist auch: Cora."));
    QVERIFY(!anna.readUntil("Bert geht hinein.").isEmpty());
    QVERIFY(!cora.readUntil("Bert kommt herein.").isEmpty());

    // A second login under a name in use is turned away.
    MudClient again;
    QVERIFY(again.connectTo(FPort));
    again.readUntil(MudClient::iac(DO, 24));
    again.send(line("ANNA"));
    QVERIFY(!again.readUntil("schon im Spiel").isEmpty());
}

void DemoMudTest::floodSendsExactlyTheRequestedBytes()
{
    MudClient c;
    QVERIFY(c.connectTo(FPort));
    c.login("Anna");
    for (const char* bad : {"flood", "flood viel", "flood 0", "flood -3"})
        QVERIFY2(answers(c, bad, "Benutze: flood <KB>"), bad);

    c.send(line("flood 64"));
    QVERIFY(!c.readUntil("Flut: 64 KB folgen.\x1b[0m\r\n").isEmpty());
    const QByteArray end = "\x1b[1;32mFlut beendet: 64 KB gesendet.";
    QByteArray body = c.readUntil(end);
    QVERIFY(!body.isEmpty());
    body.chop(end.size());
    QCOMPARE(body.size(), 64 * 1024);
    QVERIFY(!c.readUntil(MudClient::gamePrompt()).isEmpty());

    QVERIFY(body.endsWith("\r\n"));
    QVERIFY(!body.contains('\xFF'));
    const QList<QByteArray> lines = body.left(body.size() - 2).split('\n');
    int coloured = 0;
    for (qsizetype i = 0; i < lines.size() - 2; ++i) { // the last two fill up the count
        const QByteArray text = stripColours(lines[i]).chopped(1);
        QVERIFY2(text.size() >= 40 && text.size() <= 100, lines[i].constData());
        coloured += lines[i].contains("\x1b[") ? 1 : 0;
    }
    QVERIFY2(coloured > lines.size() / 5 && coloured < lines.size() / 2,
             QByteArray::number(coloured).constData());
}

void DemoMudTest::floodDoesNotHoldUpOtherPlayers()
{
    MudClient anna, bert;
    QVERIFY(anna.connectTo(FPort) && bert.connectTo(FPort));
    anna.login("Anna");
    anna.send(line("flood 8192")); // 8 MB that Anna never reads

    bert.login("Bert");
    QVERIFY(answers(bert, "wer", "Spieler im Spiel: 2\r\n"));
    anna.close(); // gone in the middle of the flood
    QVERIFY(!bert.readUntil("Anna verschwindet").isEmpty());
    QVERIFY(answers(bert, "wer", "Spieler im Spiel: 1\r\n"));
}

void DemoMudTest::recordsEveryReceivedLine()
{
    MudClient c;
    QVERIFY(c.connectTo(FPort));
    c.login("Anna");
    c.send("eins\r\nzwei\ndrei\r");
    c.send(QByteArray("\0vier\r\n", 7));
    c.send("sage \xFF\xFFja\r\n\r\n\xE4\xF6\xFC\r\n");
    c.send("f\xFC" + MudClient::iac(WILL, 31) + "nf\r\n");
    QVERIFY(answers(c, "wer", "Spieler im Spiel: 1"));

    QFile record(FDir.filePath("record.txt"));
    QVERIFY(record.open(QIODevice::ReadOnly));
    QCOMPARE(record.readAll(), QByteArray("Anna\ngeheim\neins\nzwei\ndrei\nvier\n"
                                          "sage \xFFja\n\n\xE4\xF6\xFC\nf\xFCnf\nwer\n"));
}

void DemoMudTest::survivesHugeLinesJunkAndAbruptDisconnects()
{
    MudClient huge;
    QVERIFY(huge.connectTo(FPort));
    huge.login("Anna");
    QVERIFY(huge.send(QByteArray(1024 * 1024, 'x') + "\r\n"));
    QVERIFY(!huge.readUntil("Die Zeile war zu lang").isEmpty());
    QVERIFY(answers(huge, "wer", "Spieler im Spiel: 1"));

    QRandomGenerator random(4711);
    for (int round = 0; round < 4; ++round) {
        MudClient junk;
        QVERIFY(junk.connectTo(FPort));
        QByteArray bytes(64 * 1024, Qt::Uninitialized);
        for (char& b : bytes)
            b = char(random.bounded(256));
        junk.send(bytes); // and gone without reading a byte
    }
    MudClient halfway;
    QVERIFY(halfway.connectTo(FPort));
    halfway.send("Bert\r\n");
    QVERIFY(!halfway.readUntil("Passwort: ").isEmpty());
    halfway.close();

    MudClient later;
    QVERIFY(later.connectTo(FPort));
    later.login("Cora");
    QVERIFY(answers(later, "wer", "Spieler im Spiel: 2"));
    QCOMPARE(FServer.state(), QProcess::Running);
}

void DemoMudTest::sayGoodbyeOnSigint()
{
    MudClient c;
    QVERIFY(c.connectTo(FPort));
    c.login("Anna");
    ::kill(pid_t(FServer.processId()), SIGINT);
    QVERIFY(!c.readUntil("Der Server wird beendet.").isEmpty());
    QVERIFY(c.closedByPeer());
    QVERIFY(FServer.waitForFinished(StartMs));
    QCOMPARE(FServer.exitStatus(), QProcess::NormalExit);
    QCOMPARE(FServer.exitCode(), 0);
}

void DemoMudTest::commandLine()
{
    QProcess help;
    help.start(QStringLiteral(DEMO_MUD_PATH), {"--help"});
    QVERIFY(help.waitForFinished(StartMs));
    QCOMPARE(help.exitCode(), 0);
    QVERIFY(help.readAllStandardOutput().contains("--record"));

    for (const QStringList& args : {QStringList{"--bogus"}, QStringList{"70000"},
                                    QStringList{QString::number(FPort)}}) {
        QProcess bad;
        bad.start(QStringLiteral(DEMO_MUD_PATH), args);
        QVERIFY(bad.waitForFinished(StartMs));
        QVERIFY2(bad.exitCode() != 0, qPrintable(args.join(' ')));
        QVERIFY(bad.readAllStandardError().contains("kmc-demo-mud:"));
    }
}

QTEST_GUILESS_MAIN(DemoMudTest)
#include "tst_DemoMud.moc"
