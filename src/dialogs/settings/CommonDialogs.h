#pragma once
// The platform's font and colour choosers behind one small interface, so the settings
// dialog can be driven in tests with answers instead of a blocking dialog.

#include "config/MudConfig.h"

class QWidget;

class ICommonDialogs
{
public:
    virtual ~ICommonDialogs() = default;
    // Preset with font; fixed-pitch fonts only. True and font replaced on confirmation.
    virtual bool ChooseFont(TFontSpec& font, QWidget* parent) = 0;
    // Preset with color (system colours resolved). True and color replaced on confirmation.
    virtual bool ChooseColor(TColor& color, QWidget* parent) = 0;
};

// QFontDialog limited to monospaced fonts, with a colour choice of the 16 table
// colours beside it, and QColorDialog for solid colours.
class TQtCommonDialogs final : public ICommonDialogs
{
public:
    bool ChooseFont(TFontSpec& font, QWidget* parent) override;
    bool ChooseColor(TColor& color, QWidget* parent) override;
};
