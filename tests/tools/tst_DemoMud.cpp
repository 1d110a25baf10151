// The practice MUD as a client sees it: each test starts the real program on a free
// loopback port and talks telnet to it over the loopback peer.

#include <QDeadlineTimer>
#include <QRandomGenerator>
#include <QTest>

#include "DemoMud.h"
#include "FileRig.h"
#include "TestLoopback.h"

#include <arpa/inet.h>
#include <csignal>
#include <sys/socket.h>

namespace
{

enum { WILL = 251, WONT = 252, DO = 253, DONT = 254 };
const int TimeoutMs = 15000;
const QByteArray GamePrompt("> \xFF\xF9");

QByteArray iac(int verb, int option)
{
    return QByteArray{} + char(255) + char(verb) + char(option);
}

// A player on the shared loopback peer. Every read has a deadline, so a server that stops
// answering fails the test instead of hanging it.
class MudClient : public TTestPeer
{
public:
    // Connected, and logged in under name when one is given. A failed connection shows
    // as the peer having closed, so the first read fails.
    explicit MudClient(quint16 port, const QByteArray& name = {})
    {
        const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in addr{AF_INET, htons(port), {htonl(INADDR_LOOPBACK)}, {}};
        ::connect(fd, reinterpret_cast<sockaddr*>(&addr), sizeof addr);
        Attach(fd);
        if (!name.isEmpty()) login(name);
    }
    // Everything up to and including needle since the last read. Empty on timeout.
    QByteArray readUntil(const QByteArray& needle)
    {
        qsizetype at;
        const QDeadlineTimer end(TimeoutMs);
        while ((at = Received().indexOf(needle, FRead)) < 0) {
            if (SawEnd() || end.hasExpired()) {
                qWarning("no \"%s\" in time", needle.toPercentEncoding().constData());
                return {};
            }
            Poll(1 << 20, 20);
        }
        const QByteArray head = Received().mid(FRead, at + needle.size() - FRead);
        FRead += head.size();
        return head;
    }
    bool closedByPeer()
    {
        ReadAtLeast(qsizetype(1) << 40, TimeoutMs);
        return SawEnd();
    }
    void login(const QByteArray& name)
    {
        readUntil("Wie heisst Du? \xFF\xF9");
        Write(iac(WILL, 24));
        readUntil(QByteArray("\xFF\xFA\x18\x01\xFF\xF0", 6));
        Write(QByteArray("\xFF\xFA\x18\x00KMCTEST\xFF\xF0", 13) + name + "\r\n");
        readUntil("Passwort: \xFF\xF9");
        Write("geheim\r\n");
        readUntil(GamePrompt);
    }
    // Sends a command line and waits for expected; other players' chatter and earlier
    // prompts may come first, so answers are found by content, never by position.
    bool answers(const QByteArray& text, const QByteArray& expected)
    {
        Write(text + "\r\n");
        return !readUntil(expected).isEmpty();
    }

private:
    qsizetype FRead = 0;
};

} // namespace

class DemoMudTest : public QObject
{
    Q_OBJECT
    std::unique_ptr<DemoMud> FMud;

private slots:
    void init()
    {
        FMud = std::make_unique<DemoMud>();
        QVERIFY(FMud->Port() != 0);
    }

    void cleanup()
    {
        // Every test ends with SIGTERM, which must end the server cleanly.
        const bool clean = FMud->Stop();
        if (!clean || QTest::currentTestFailed())
            qWarning("server output:\n%s", FMud->Errors().constData());
        QVERIFY(clean);
    }

    void negotiatesAndRefusesUnknownOptions()
    {
        MudClient c(FMud->Port());
        QVERIFY(c.readUntil("Wie heisst Du? \xFF\xF9").startsWith(iac(DO, 24)));
        c.Write(iac(WILL, 24));
        QCOMPARE(c.readUntil("\xFF\xF0"), QByteArray("\xFF\xFA\x18\x01\xFF\xF0", 6));
        c.Write(QByteArray("\xFF\xFA\x18\x00KMCTEST\xFF\xF0", 13) + "anna\r\n");
        QCOMPARE(c.readUntil("\xFF\xF9"), iac(WILL, 1) + "Passwort: \xFF\xF9");
        c.Write(iac(DO, 1) + "geheim\r\n"); // the client's consent needs no answer
        QVERIFY(c.readUntil(GamePrompt).startsWith(iac(WONT, 1) + "\r\n"));
        QVERIFY(c.answers("wer", "Anna\x1b[0m [KMCTEST]"));
        c.readUntil(GamePrompt);

        c.Write(iac(WILL, 31));
        QCOMPARE(c.readUntil("\x1f"), iac(DONT, 31));
        c.Write("\xFF"); // a verb split across two segments
        QTest::qWait(100);
        c.Write("\xFD\x03");
        QCOMPARE(c.readUntil("\x03"), iac(WONT, 3));
        // Refusals, GA, NOP and a foreign sub-negotiation are all taken silently.
        c.Write(iac(WONT, 5) + iac(DONT, 6) + "\xFF\xF9\xFF\xF1" +
               QByteArray("\xFF\xFA\x63\x01\xFF\xFF\x02\xFF\xF0", 9));
        c.Write("wer\r\n");
        QVERIFY(c.readUntil("Spieler im Spiel: 1\r\n").startsWith("Spieler im Spiel"));
        const QByteArray all = c.Received();
        QCOMPARE(all.count(iac(WONT, 1)), 1);
        QVERIFY(!all.contains(iac(DONT, 5)) && !all.contains(iac(WONT, 6)));
    }

    // A walk with every kind of command, from the greeting to the goodbye, byte for byte
    // as in walk.golden: exits by name and by abbreviation in any case, a missing exit,
    // looking, an unknown command, the help and leaving. Every line received is recorded,
    // whatever ends it.
    void walksBetweenRoomsAndLeaves()
    {
        MudClient c(FMud->Port(), "Anna");
        c.Write("rein\r\nh\r\nrunter\r\nraus\r\nnorden\r\nno\r\nS\r\ns\r\nsw\r\nschaue\r\n"
                "tanze\r\nhilfe\r\neins\r\nzwei\ndrei\r");
        c.Write(QByteArray("\0vier\r\n", 7));
        c.Write("sage \xFF\xFFja\r\n\r\n\xE4\xF6\xFC\r\n");
        c.Write("f\xFC" + iac(WILL, 31) + "nf\r\nende\r\n");
        QVERIFY(c.closedByPeer());
        QCOMPARE(c.Received(), ReadFile(WALK_GOLDEN));
        QCOMPARE(FMud->Received(),
                 QByteArray("Anna\ngeheim\nrein\nh\nrunter\nraus\nnorden\nno\nS\ns\nsw\nschaue\n"
                            "tanze\nhilfe\neins\nzwei\ndrei\nvier\nsage \xFFja\n\n\xE4\xF6\xFC\n"
                            "f\xFCnf\nende\n"));
    }

    void playersInOneRoomHearEachOther()
    {
        MudClient anna(FMud->Port(), "Anna"), bert(FMud->Port(), "Bert"), cora(FMud->Port());
        QVERIFY(!anna.readUntil("Bert betritt das Spiel.").isEmpty());
        cora.login("Cora");
        QVERIFY(cora.answers("rein", "\x1b[1;33mDie Taverne \"Zum Tapferen Hasen\"\x1b[0m"));
        // A typed 255 arrives doubled, is stored once and goes out doubled again.
        QVERIFY(anna.answers("sage Hallo \xFF\xFF!", "Du sagst: Hallo \xFF\xFF!"));
        QVERIFY(!bert.readUntil("Anna sagt: Hallo \xFF\xFF!").isEmpty());
        // Escape sequences in what a player says do not reach the others.
        anna.Write("sage \x1b[31mrot\r\n");
        QVERIFY(!bert.readUntil("Anna sagt: [31mrot").isEmpty());
        cora.Write("wer\r\n");
        QVERIFY(!cora.readUntil("Spieler im Spiel: 3").contains("sagt"));
        QVERIFY(bert.answers("rein", "Hier ist auch: Cora."));
        QVERIFY(!anna.readUntil("Bert geht hinein.").isEmpty());
        QVERIFY(!cora.readUntil("Bert kommt herein.").isEmpty());
        // A second login under a name in use is turned away.
        MudClient again(FMud->Port());
        again.readUntil(iac(DO, 24));
        QVERIFY(again.answers("ANNA", "schon im Spiel"));
        // SIGINT says goodbye to the players; cleanup checks that the server ended cleanly.
        ::kill(pid_t(FMud->Process().processId()), SIGINT);
        QVERIFY(!cora.readUntil("Der Server wird beendet.").isEmpty());
        QVERIFY(cora.closedByPeer());
        QVERIFY(FMud->Process().waitForFinished(TimeoutMs));
    }

    // A flood sends exactly the bytes asked for; neither a flood, nor a huge line, nor
    // junk, nor a player gone in the middle of the login or of a flood holds up the others.
    void floodHugeLinesJunkAndAbruptDisconnectsHoldUpNoOne()
    {
        MudClient c(FMud->Port(), "Anna");
        for (const char* bad : {"flood", "flood viel", "flood 0", "flood -3"})
            QVERIFY2(c.answers(bad, "Benutze: flood <KB>"), bad);
        QVERIFY(c.answers("flood 64", "Flut: 64 KB folgen.\x1b[0m\r\n"));
        const QByteArray end = "\x1b[1;32mFlut beendet: 64 KB gesendet.";
        QByteArray body = c.readUntil(end);
        body.chop(end.size());
        QCOMPARE(body.size(), 64 * 1024);
        QVERIFY(!c.readUntil(GamePrompt).isEmpty());
        QVERIFY(body.endsWith("\r\n"));
        QVERIFY(!body.contains('\xFF'));
        QVERIFY(body.count("\x1b[") > body.count('\n') / 5);

        QVERIFY(c.answers(QByteArray(1024 * 1024, 'x'), "Die Zeile war zu lang"));
        QRandomGenerator random(4711);
        for (int round = 0; round < 4; ++round) {
            MudClient junk(FMud->Port());
            QByteArray bytes(64 * 1024, Qt::Uninitialized);
            random.fillRange(reinterpret_cast<quint32*>(bytes.data()), bytes.size() / 4);
            junk.Write(bytes); // and gone without reading a byte
        }
        MudClient halfway(FMud->Port());
        QVERIFY(halfway.answers("Cora", "Passwort: "));
        halfway.Close();
        MudClient bert(FMud->Port());
        c.Write("flood 8192\r\n"); // 8 MB that Anna never reads
        bert.login("Bert");
        QVERIFY(bert.answers("wer", "Spieler im Spiel: 2\r\n"));
        c.Close(); // gone in the middle of the flood
        QVERIFY(!bert.readUntil("Anna verschwindet").isEmpty());
        QVERIFY(bert.answers("wer", "Spieler im Spiel: 1\r\n"));
    }

    void commandLine()
    {
        for (const QString& arg : {QString("--help"), QString("--bogus"), QString("70000"),
                                   QString::number(FMud->Port())}) {
            QProcess p;
            p.start(QStringLiteral(DEMO_MUD), {arg});
            QVERIFY(p.waitForFinished(TimeoutMs));
            const bool help = arg == "--help"; // the port in use is refused too
            QVERIFY2((p.exitCode() == 0) == help, qPrintable(arg));
            QVERIFY((help ? p.readAllStandardOutput() : p.readAllStandardError())
                        .contains(help ? "--record" : "kmc-demo-mud:"));
        }
    }
};

QTEST_GUILESS_MAIN(DemoMudTest)
#include "tst_DemoMud.moc"
