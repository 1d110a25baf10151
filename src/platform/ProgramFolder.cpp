#include "ProgramFolder.h"

#include "Win1252.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {

QString& overrideFolder()
{
    static QString folder;
    return folder;
}

QString withSlash(QString p)
{
    if (!p.endsWith('/'))
        p += '/';
    return p;
}

bool writableFolder(const QString& dir)
{
    QFileInfo info(dir);
    return info.isDir() && info.isWritable();
}

QString executableFolder()
{
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QDir::currentPath();
}

} // namespace

namespace ProgramFolder {

QString path()
{
    if (!overrideFolder().isEmpty())
        return withSlash(overrideFolder());
    // A copy that carries its help file beside it is run from its own folder; an
    // installed one (help file under share/) keeps the player's files per user.
    const QString exe = executableFolder();
    if (writableFolder(exe) && QFileInfo::exists(withSlash(exe) + "mudhelp.txt"))
        return withSlash(exe);
    QString data = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    if (data.isEmpty())
        data = QDir::homePath() + "/.kmc";
    QDir().mkpath(data);
    return withSlash(data);
}

QString file(const QString& name) { return path() + name; }

QString helpFile()
{
    const QString local = file("mudhelp.txt");
    if (!overrideFolder().isEmpty() || QFileInfo::exists(local))
        return local;
    const QString beside = withSlash(executableFolder()) + "mudhelp.txt";
    if (QFileInfo::exists(beside))
        return beside;
    const QString installed =
        QStandardPaths::locate(QStandardPaths::GenericDataLocation, "kmc/mudhelp.txt");
    if (!installed.isEmpty())
        return installed;
    const QString shareDir = QDir::cleanPath(executableFolder() + "/../share/kmc/mudhelp.txt");
    return QFileInfo::exists(shareDir) ? shareDir : local;
}

void setOverride(const QString& folder) { overrideFolder() = folder; }

QByteArray normalizeSeparators(const QByteArray& name)
{
    QByteArray r(name);
    r.replace('\\', '/');
    return r;
}

} // namespace ProgramFolder
