// The session log file: framing, append or overwrite, and failures that lose nothing.
#include "FileRig.h"
#include "OutputRig.h"

#include <QSignalSpy>
#include <QTest>

namespace {

// Dates vary; the frame lines are compared with their date-time replaced.
QByteArray Masked(QByteArray text)
{
    static const QRegularExpression stamp(R"(am \d\d\.\d\d\.\d{4}( \d\d:\d\d:\d\d)?>)");
    return QString::fromLatin1(text).replace(stamp, "am *>").toLatin1();
}

} // namespace

class TestSessionLog : public QObject {
    Q_OBJECT
private slots:
    void appendsOrOverwritesSessionsWithoutColourCodes()
    {
        OutputRig r;
        QSignalSpy state(&r.log, &TSessionLog::LogStateChanged);
        r.log.StopLog(); // no log: nothing happens
        QVERIFY(state.isEmpty() && r.console.Cells.isEmpty());
        for (int i = 0; i < 2; ++i) {
            r.log.StartLog(false);
            r.log.StartLog(true); // already logging: nothing happens
            r.Feed("\x1b[1;31mrot\x1b[0m\r\n");
            r.sink.ShowInfo("nicht im Log");
            r.log.StopLog();
        }
        QCOMPARE(Masked(ReadFile(r.log.FLogFileName)),
                 QByteArray("<LOG gestartet am *>\r\nrot\r\n<LOG gestoppt am *>\r\n\r\n"
                            "<LOG gestartet am *>\r\nrot\r\n<LOG gestoppt am *>\r\n\r\n"));
        QCOMPARE(state.size(), 4);
        QVERIFY(r.console.Text().contains("Starte Log \"" + r.log.FLogFileName.toLatin1() + "\"."));
        QVERIFY(r.console.Text().contains("Stoppe Log \"" + r.log.FLogFileName.toLatin1() + "\"."));
        // Overwriting keeps only the latest session.
        r.log.StartLog(true);
        r.Feed("zwei");
        r.log.StopLog();
        QCOMPARE(Masked(ReadFile(r.log.FLogFileName)),
                 QByteArray("<LOG gestartet am *>\r\nzwei<LOG gestoppt am *>\r\n\r\n"));
        r.log.FLogOverwrite = true;
        r.log.StartLog(false);
        r.log.StopLog();
        QVERIFY(!ReadFile(r.log.FLogFileName).contains("zwei"));
    }

    void unopenableFileShowsTheDialog()
    {
        OutputRig r;
        r.log.FLogFileName = r.folder.file("fehlt/s.log");
        QSignalSpy state(&r.log, &TSessionLog::LogStateChanged);
        // The light is on while the player reads the error.
        QObject::connect(&r.log, &TSessionLog::LogStarting, [&] { r.prompts.log << "light on"; });
        r.log.StartLog(false);
        QVERIFY(!r.log.LogActive());
        QCOMPARE(r.prompts.log, (QStringList{"light on", "Error: Datei " + r.folder.file("fehlt/s.log") +
                                                            " konnte nicht geöffnet werden!"}));
        QVERIFY(r.console.Text().startsWith("Starte Log"));
        QCOMPARE(state.size(), 1);
        QCOMPARE(state[0][0].toBool(), false);
    }

    void writeFailureStopsTheLogButShowsTheText()
    {
        OutputRig r;
        r.log.StartLog(false);
        QSignalSpy state(&r.log, &TSessionLog::LogStateChanged);
        UnderFileSizeLimit([&] { r.Feed(QByteArray(200, 'x') + "\r\n"); });
        QVERIFY(!r.log.LogActive());
        QCOMPARE(state.size(), 1);
        QVERIFY(r.console.Text().contains(QByteArray(200, 'x') + "\r\n"));
        QVERIFY(r.console.Text().contains("Log-Datei \"" + r.log.FLogFileName.toLatin1() +
                                          "\" konnte nicht geschrieben werden. Log gestoppt."));
        r.Feed("weiter");
        QVERIFY(r.console.Text().endsWith("weiter"));
        QCOMPARE(r.console.Text().count("Log gestoppt"), 1);
    }
};

QTEST_GUILESS_MAIN(TestSessionLog)
#include "tst_sessionlog.moc"
