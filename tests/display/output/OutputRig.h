#pragma once
// The received-text road with recording substitutes around it: a console that records
// every byte with its pen, scripted prompts, a temporary program folder.

#include "RecordingConsole.h"
#include "ScriptedPrompts.h"
#include "TempProgramFolder.h"
#include "config/MudConfig.h"
#include "display/output/IncomingText.h"
#include "display/output/OutputSink.h"
#include "display/output/SessionLog.h"
#include "stats/ConnectTime.h"

struct OutputRig {
    TempProgramFolder folder;
    ScriptedPrompts prompts;
    TMudConfig config;
    RecordingConsole console;
    TOutputSink sink{console, nullptr};
    TSessionLog log{sink, prompts};
    TConnectTime clock;
    TVorkaOMatic stats;
    TIncomingText text{console, sink, log, config, clock, stats};
    int beeps = 0;

    OutputRig()
    {
        text.OnBeep = [this] { ++beeps; };
        log.FLogFileName = folder.file("s.log");
    }
    void Feed(const QByteArray& block) { text.TelnetDataAvailable(block.constData(), block.size()); }
    void FeedBytewise(const QByteArray& data)
    {
        for (char c : data)
            text.TelnetDataAvailable(&c, 1);
    }
};
