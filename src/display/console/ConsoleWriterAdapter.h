#pragma once
// The colour console as the output parts see it (IConsoleWriter).

#include "ColorConsole.h"
#include "display/output/ConsoleWriter.h"

class TConsoleWriter final : public IConsoleWriter {
public:
    explicit TConsoleWriter(TColorConsole& console) : FConsole(console) {}
    TColor FontColor() const override { return FConsole.Font().Color(); }
    void SetFontColor(TColor color) override { FConsole.Font().SetColor(color); }
    TColor FontBkColor() const override { return FConsole.Font().BkColor(); }
    void SetFontBkColor(TColor color) override { FConsole.Font().SetBkColor(color); }
    int FontStyle() const override { return FConsole.Font().Style(); }
    void SetFontStyle(int style) override { FConsole.Font().SetStyle(TFontStyles(style)); }
    void WriteBuf(const char* data, qsizetype len) override { FConsole.WriteBuf(data, len); }
    int Cols() const override { return FConsole.Cols(); }

private:
    TColorConsole& FConsole;
};
