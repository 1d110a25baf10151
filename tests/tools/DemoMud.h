#pragma once
// The practice MUD started on a free loopback port, recording every line it receives and
// keeping its error output, so that a crash or sanitizer report can be shown.

#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

class DemoMud {
public:
    DemoMud()
    {
        FProcess.setStandardErrorFile(FDir.filePath("server.log"));
        FProcess.start(QStringLiteral(DEMO_MUD), {"--record", FDir.filePath("record.txt"), "0"});
        while (!FProcess.canReadLine() && FProcess.waitForReadyRead(20000)) {
        }
        const QByteArray first = FProcess.readLine().trimmed();
        if (first.startsWith("listening on 127.0.0.1:"))
            FPort = quint16(first.mid(first.lastIndexOf(':') + 1).toUInt());
    }
    ~DemoMud() { Stop(); }

    quint16 Port() const { return FPort; }
    QProcess& Process() { return FProcess; }
    // Everything received so far, one line per received line, ended by "\n".
    QByteArray Received() const { return Read("record.txt"); }
    QByteArray Errors() const { return Read("server.log"); }
    // Ends the server with SIGTERM; true when it ended cleanly.
    bool Stop()
    {
        if (FProcess.state() != QProcess::NotRunning) {
            FProcess.terminate();
            if (!FProcess.waitForFinished(20000))
                FProcess.kill();
        }
        return FProcess.exitStatus() == QProcess::NormalExit && FProcess.exitCode() == 0;
    }

private:
    QByteArray Read(const QString& name) const
    {
        QFile f(FDir.filePath(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    QTemporaryDir FDir;
    QProcess FProcess;
    quint16 FPort = 0;
};
