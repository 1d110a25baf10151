#pragma once
// Walking by keys and clicks: the window-level key handling (function keys, then the
// numeric keypad with the active layout) and the compass image.

#include "CommandHost.h"
#include "config/MudConfigUtils.h"

#include <Qt>

class TInputProcessor;
struct TNumPadLayout;

class TKeypadWalker
{
public:
    TKeypadWalker(TCommandEnv env, TInputProcessor& processor);

    // cbActiveNumPadChange: position in FNumPadsList, or -1 for none.
    void SetActiveNumPad(int index) { FActiveNumPad = index; }
    int ActiveNumPad() const { return FActiveNumPad; }

    // Every key the window sees, before its controls. True when consumed.
    bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
    // Any mouse button on the compass image; (x, y) in pixels of the image.
    void KompassMouseDown(int x, int y);

    // 1..15 for a keypad key (Num Lock on or off), 0 for any other key.
    static int KeypadSlot(int key, Qt::KeyboardModifiers modifiers);
    // The slot whose hit area holds the point, 0 for none.
    static int KompassSlot(int x, int y);

private:
    bool HandleFunctionKey(int key, Qt::KeyboardModifiers modifiers);
    const TNumPadLayout* ActiveLayout() const;

    TCommandEnv FEnv;
    TInputProcessor& FProcessor;
    int FActiveNumPad = -1;
};
