#include "PathRecorder.h"

#include "CommandTable.h"

#include "config/MudConfig.h"
#include "display/output/OutputSink.h"

TPathRecorder::TPathRecorder(TCommandEnv env) : FEnv(env) {}

bool TPathRecorder::Fits(const QByteArray& step) const
{
    return FRecordedPath.size() + step.size() <= kMaxPathLength;
}

void TPathRecorder::EndRecording()
{
    FRecording = false;
    FAutoMap = false;
    FRecordedPath.clear();
    FEnv.Host.RecordingStateChanged(false, false);
}

void TPathRecorder::Mark()
{
    if (!FRecording) {
        FRecording = true;
        FEnv.Sink.ShowInfo("Pfad-Aufzeichnung gestartet.");
        FEnv.Host.RecordingStateChanged(true, FAutoMap);
        return;
    }
    EndRecording();
    FEnv.Sink.ShowInfo("Pfad-Aufzeichnung abgebrochen.");
}

void TPathRecorder::ToggleAutoMap()
{
    if (!FRecording) {
        FEnv.Sink.ShowError("Aufzeichnung von Pfad nicht gestartet, mit #mark starten.");
        return;
    }
    FAutoMap = !FAutoMap;
    FEnv.Sink.ShowInfo(FAutoMap ? "AUTOMAP eingeschaltet." : "AUTOMAP ausgeschaltet.");
    FEnv.Host.RecordingStateChanged(FRecording, FAutoMap);
}

void TPathRecorder::MapStep(const QByteArray& step)
{
    if (!FRecording) return;
    if (!Fits(step)) {
        FEnv.Sink.ShowError("Pfad zu lang, bitte mit \"#path [kuerzel]\" sichern");
        return;
    }
    FRecordedPath += step + ';';
}

void TPathRecorder::AutoRecord(const QByteArray& piece)
{
    if (!Fits(piece)) {
        FEnv.Sink.ShowError("Pfad kann keine weiteren Zeichen aufnehmen!");
        return;
    }
    FRecordedPath += piece + ';';
}

void TPathRecorder::StorePath(const QByteArray& name)
{
    if (!FRecording) {
        FEnv.Sink.ShowError("Fehler: Beginn von Pfadaufzeichnung nicht gesetzt.");
        return;
    }
    if (FRecordedPath.isEmpty()) {
        FEnv.Sink.ShowError("Fehler: Kein Pfad aufgezeichnet.");
        return;
    }
    const QByteArray error = ShortcutNameError(name);
    if (!error.isEmpty()) {
        FEnv.Sink.ShowError(error);
        return;
    }
    if (!FEnv.Config.SetPath(name, FRecordedPath)) {
        FEnv.Sink.ShowError("Kuerzel \"" + name + "\" bereits belegt.");
        return;
    }
    FEnv.Sink.ShowInfo("Pfad \"" + name + "\" eingerichtet.");
    if (FEnv.Host.ListType() == lkPath) FEnv.Host.RefreshList();
    EndRecording();
}

void TPathRecorder::ShowPath()
{
    FEnv.Sink.ShowInfo("Aktueller Pfad: " + FRecordedPath);
}
