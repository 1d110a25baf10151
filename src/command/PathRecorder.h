#pragma once
// The recording of walking paths: the state behind the lights M and A and the bodies of
// #mark, #automap, #map, #path and #showpath. Steps are kept as "step;" runs; a step is
// only added while the recorded text plus the step stays within 255 characters.

#include "CommandHost.h"

#include <QByteArray>

class TPathRecorder
{
public:
    static constexpr int kMaxPathLength = 255;

    explicit TPathRecorder(TCommandEnv env);

    bool FRecording = false;
    bool FAutoMap = false;
    QByteArray FRecordedPath;

    void Mark();                            // #mark: start or cancel
    void ToggleAutoMap();                   // #automap
    void MapStep(const QByteArray& step);   // #map step
    void StorePath(const QByteArray& name); // #path name
    void ShowPath();                        // #showpath
    // A plain command while automatic recording is on; the caller still sends it.
    void AutoRecord(const QByteArray& piece);
    bool AutoRecording() const { return FRecording && FAutoMap; }

private:
    void EndRecording();
    bool Fits(const QByteArray& step) const;

    TCommandEnv FEnv;
};
