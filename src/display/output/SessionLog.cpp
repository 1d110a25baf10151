#include "SessionLog.h"

#include "OutputSink.h"
#include "platform/DateTime.h"
#include "platform/Prompts.h"
#include "platform/Win1252.h"

TSessionLog::TSessionLog(TOutputSink& sink, IPrompts& prompts, QObject* parent)
    : QObject(parent), FSink(sink), FPrompts(prompts)
{
}

void TSessionLog::StartLog(bool overwrite)
{
    if (FLogActive)
        return;
    FSink.ShowInfo("Starte Log \"" + Win1252::fromUnicode(FLogFileName) + "\".");
    emit LogStarting();
    FFile.setFileName(FLogFileName);
    const QIODevice::OpenMode mode = (FLogOverwrite || overwrite)
                                         ? QIODevice::WriteOnly | QIODevice::Truncate
                                         : QIODevice::WriteOnly | QIODevice::Append;
    const QByteArray start = "<LOG gestartet am " + DateTime::dateTimeToStr(DateTime::now()) + ">\r\n";
    if (!FFile.open(mode) || FFile.write(start) != start.size() || !FFile.flush()) {
        FFile.close();
        FPrompts.Error(QStringLiteral("Datei %1 konnte nicht geöffnet werden!")
                           .arg(FLogFileName));
        FLogActive = false;
        emit LogStateChanged(false);
        return;
    }
    FLogActive = true;
    emit LogStateChanged(true);
}

void TSessionLog::StopLog()
{
    if (!FLogActive)
        return;
    const QByteArray stop = "<LOG gestoppt am " + DateTime::dateTimeToStr(DateTime::now()) + ">\r\n\r\n";
    const bool written = FFile.write(stop) == stop.size() && FFile.flush();
    Close();
    FSink.ShowInfo("Stoppe Log \"" + Win1252::fromUnicode(FLogFileName) + "\".");
    if (!written)
        FSink.ShowError("Log-Datei \"" + Win1252::fromUnicode(FLogFileName) + "\" konnte nicht geschrieben werden.");
    emit LogStateChanged(false);
}

void TSessionLog::Append(const char* data, qsizetype len)
{
    if (!FLogActive || len <= 0)
        return;
    // Flushed per block, so a crash loses nothing that was shown.
    if (FFile.write(data, len) != len || !FFile.flush())
        FailWrite();
}

void TSessionLog::Close()
{
    FFile.close();
    FLogActive = false;
}

void TSessionLog::FailWrite()
{
    Close();
    FSink.ShowError("Log-Datei \"" + Win1252::fromUnicode(FLogFileName) + "\" konnte nicht geschrieben werden. Log gestoppt.");
    emit LogStateChanged(false);
}
