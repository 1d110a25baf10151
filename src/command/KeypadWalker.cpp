#include "KeypadWalker.h"

#include "InputProcessor.h"
#include "config/MudConfig.h"

namespace
{

struct TKompassArea {
    int Slot;
    TRect Area;
};

// Keypad 1..9 on the picture; slots 1 and 11..15 have no area.
const TKompassArea kKompassAreas[] = {
    {2, {15, 70, 47, 102}}, {3, {41, 76, 73, 108}}, {4, {71, 73, 96, 91}},
    {5, {1, 40, 32, 65}},   {6, {45, 40, 65, 65}},  {7, {76, 40, 108, 72}},
    {8, {15, 18, 42, 39}},  {9, {41, 1, 73, 33}},   {10, {60, 20, 90, 45}},
};

int KeypadSlotNumLockOff(int key)
{
    switch (key) {
    case Qt::Key_Insert:
        return 1;
    case Qt::Key_End:
        return 2;
    case Qt::Key_Down:
        return 3;
    case Qt::Key_PageDown:
        return 4;
    case Qt::Key_Left:
        return 5;
    case Qt::Key_Clear:
        return 6;
    case Qt::Key_Right:
        return 7;
    case Qt::Key_Home:
        return 8;
    case Qt::Key_Up:
        return 9;
    case Qt::Key_PageUp:
        return 10;
    case Qt::Key_Delete:
        return 14;
    default:
        return 0;
    }
}

} // namespace

TKeypadWalker::TKeypadWalker(TCommandEnv env, TInputProcessor& processor)
    : FEnv(env), FProcessor(processor)
{
}

int TKeypadWalker::KeypadSlot(int key, Qt::KeyboardModifiers modifiers)
{
    if (!(modifiers & Qt::KeypadModifier)) return 0;
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return key - Qt::Key_0 + 1;
    switch (key) {
    case Qt::Key_Asterisk:
        return 11;
    case Qt::Key_Plus:
        return 12;
    case Qt::Key_Minus:
        return 13;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return 14;
    case Qt::Key_Slash:
        return 15;
    default:
        return KeypadSlotNumLockOff(key);
    }
}

int TKeypadWalker::KompassSlot(int x, int y)
{
    for (const TKompassArea& a : kKompassAreas) {
        if (PointInRect(a.Area, x, y)) return a.Slot;
    }
    return 0;
}

const TNumPadLayout* TKeypadWalker::ActiveLayout() const
{
    // Checked on every use: a loaded configuration may have fewer layouts than before.
    const TNumPadKeyList& pads = FEnv.Config.FNumPadsList;
    if (FActiveNumPad < 0 || FActiveNumPad >= pads.Count()) return nullptr;
    return &pads.Items(FActiveNumPad);
}

bool TKeypadWalker::HandleFunctionKey(int key, Qt::KeyboardModifiers modifiers)
{
    if (key < Qt::Key_F1 || key > Qt::Key_F10) return false;
    const Qt::KeyboardModifiers mods = modifiers & ~Qt::KeypadModifier;
    // Alt or Ctrl alone belongs to the window (Alt+F4 closes it).
    if (mods == Qt::AltModifier || mods == Qt::ControlModifier) return false;
    const int index = key - Qt::Key_F1 + 1 + (mods == Qt::ShiftModifier ? 10 : 0);
    const QByteArray text = FEnv.Config.GetFuncKey(index);
    if (!text.isEmpty()) FProcessor.ProcessInputLine(text);
    return true;
}

bool TKeypadWalker::FormKeyDown(int key, Qt::KeyboardModifiers modifiers)
{
    const bool consumed = HandleFunctionKey(key, modifiers);
    const int slot = KeypadSlot(key, modifiers);
    if (slot == 0) {
        FProcessor.FSkipKeyPress = false;
        return consumed;
    }
    const TNumPadLayout* layout = ActiveLayout();
    if (!layout) return consumed;
    FProcessor.FSkipKeyPress = true;
    const QByteArray text = layout->Keys[slot];
    if (text.isEmpty()) return true;
    if (layout->Option == 1)
        FEnv.Host.SetInputText(FEnv.Host.InputText() + ' ' + text);
    else
        FProcessor.ProcessInputLine(text);
    return true;
}

void TKeypadWalker::KompassMouseDown(int x, int y)
{
    const TNumPadLayout* layout = ActiveLayout();
    if (!layout) return;
    const int slot = KompassSlot(x, y);
    if (slot == 0) return;
    const QByteArray text = layout->Keys[slot];
    if (layout->Option == 0)
        FProcessor.ProcessInputLine(text);
    else
        FEnv.Host.SetInputText(FEnv.Host.InputText() + text);
}
