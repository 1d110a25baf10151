// The commands of TCommandInterpreter that read or write files: help, log, dir, notes.

#include "CommandInterpreter.h"

#include "CommandTable.h"
#include "display/output/OutputSink.h"
#include "display/output/SessionLog.h"
#include "platform/DateTime.h"
#include "platform/IniFile.h"
#include "platform/ProgramFolder.h"
#include "platform/Prompts.h"
#include "platform/SafeFile.h"
#include "platform/Win1252.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace
{

// FHelpActive is cleared again however the help output ends.
class THelpActiveGuard
{
public:
    explicit THelpActiveGuard(TOutputSink& sink) : FSink(sink) { FSink.FHelpActive = true; }
    ~THelpActiveGuard() { FSink.FHelpActive = false; }
    THelpActiveGuard(const THelpActiveGuard&) = delete;
    THelpActiveGuard& operator=(const THelpActiveGuard&) = delete;

private:
    TOutputSink& FSink;
};

int HelpSectionIndex(int index)
{
    switch (index) {
    case ciHigh:
        return ciHighlight;
    case ciUnhigh:
        return ciUnhighlight;
    case ciQuestion:
        return ciHelp;
    default:
        return index;
    }
}

// The file-name part of a typed name with its extension replaced by ".log"; empty when
// the name holds no file name at all.
QByteArray LogFileNamePart(const QByteArray& typed)
{
    QByteArray name = ProgramFolder::normalizeSeparators(typed);
    name = name.mid(name.lastIndexOf('/') + 1);
    if (name.isEmpty()) return {};
    const qsizetype dot = name.lastIndexOf('.');
    if (dot >= 0) name.truncate(dot);
    return name + ".log";
}

QString FolderToSearch(const QByteArray& typed)
{
    const QString folder = Win1252::toUnicode(ProgramFolder::normalizeSeparators(typed));
    if (QDir::isAbsolutePath(folder)) return folder;
    return ProgramFolder::path() + folder;
}

} // namespace

void TCommandInterpreter::ShowHelp(int index)
{
    THelpActiveGuard active(FEnv.Sink);
    TIniFile ini(ProgramFolder::helpFile());
    const bool loaded = ini.Load();
    FEnv.Sink.EchoLine("");
    FEnv.Sink.EchoLine("--- Hilfe ---");
    const QList<QByteArray> values =
        loaded ? ini.ReadSectionValues(CommandName(HelpSectionIndex(index))) : QList<QByteArray>();
    for (QByteArray value : values) {
        if (value == "\\")
            value.clear();
        else
            value.replace('_', ' ');
        FEnv.Sink.EchoLine(value);
    }
    FEnv.Sink.EchoLine("--- Ende Hilfe ---");
    FEnv.Sink.EchoLine("");
}

void TCommandInterpreter::DoLog(const TStringList& words)
{
    TSessionLog& log = FEnv.Log;
    if (log.LogActive()) {
        log.StopLog();
        return;
    }
    const QByteArray name = words.size() >= 2 ? LogFileNamePart(words[1]) : QByteArray();
    if (name.isEmpty()) {
        FEnv.Sink.ShowError("Keine Logfile-Datei angegeben!");
        return;
    }
    QDir().mkpath(ProgramFolder::file("log"));
    log.FLogFileName = ProgramFolder::file("log/" + Win1252::toUnicode(name));
    log.StartLog(words.size() == 3);
}

void TCommandInterpreter::DoDir(const TStringList& words)
{
    QByteArray shown;
    QString folder;
    if (words.size() >= 2) {
        shown = words[1];
        if (!shown.endsWith('/') && !shown.endsWith('\\')) shown += '/';
        folder = FolderToSearch(shown);
    } else {
        shown = Win1252::fromUnicode(ProgramFolder::path());
        folder = ProgramFolder::path();
    }
    const QStringList found = QDir(folder).entryList(
        {QStringLiteral("*.mud")},
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Unsorted);
    if (found.isEmpty()) {
        FEnv.Sink.ShowError("Keine Konfigurations-Dateien gefunden!");
        return;
    }
    FEnv.Sink.ShowInfo("Folgende Dateien wurden im Verzeichnis " + shown + " gefunden:");
    for (const QString& name : found)
        FEnv.Sink.EchoLine(Win1252::fromUnicode(name));
}

bool TCommandInterpreter::AddNote(const QByteArray& text)
{
    const QString fileName = ProgramFolder::file("mudnotiz.txt");
    QByteArray contents;
    bool ok = true;
    if (QFileInfo::exists(fileName)) {
        // Notes already written must never be lost to a read that failed.
        QFile old(fileName);
        ok = old.open(QIODevice::ReadOnly);
        if (ok) contents = old.readAll();
        ok = ok && old.error() == QFileDevice::NoError;
    }
    const QByteArray date = DateTime::dateTimeToStr(DateTime::now());
    if (ok) {
        contents += "\r\n" + date + "\r\n" + text + "\r\n";
        ok = SafeFile::write(fileName, contents, nullptr, true);
    }
    if (!ok) FEnv.Prompts.Error(QStringLiteral("Kann Eintrag in Notizbuch nicht vornehmen!"));
    else FEnv.Host.NoteAdded(date, text);
    return ok;
}
