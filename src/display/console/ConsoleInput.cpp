// TConsole: window lifecycle, keyboard, caret, blocking input and the binding of the
// standard streams.

#include "Console.h"
#include "ConsoleStream.h"

#include "platform/Win1252.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyleHints>

#include <cstring>
#include <iostream>

namespace {
bool GReading = false;           // only one console reads keys at a time
TConsole* GStdInOwner = nullptr;
TConsole* GStdOutOwner = nullptr;

struct TScrollKey {
    int Key;
    bool Ctrl;
    Qt::Orientation Axis;
    TScrollAction Action;
};

const TScrollKey ScrollKeys[] = {
    {Qt::Key_Left, false, Qt::Horizontal, saLineUp},
    {Qt::Key_Right, false, Qt::Horizontal, saLineDown},
    {Qt::Key_Left, true, Qt::Horizontal, saPageUp},
    {Qt::Key_Right, true, Qt::Horizontal, saPageDown},
    {Qt::Key_Home, false, Qt::Horizontal, saTop},
    {Qt::Key_End, false, Qt::Horizontal, saBottom},
    {Qt::Key_Up, false, Qt::Vertical, saLineUp},
    {Qt::Key_Down, false, Qt::Vertical, saLineDown},
    {Qt::Key_PageUp, false, Qt::Vertical, saPageUp},
    {Qt::Key_PageDown, false, Qt::Vertical, saPageDown},
    {Qt::Key_Home, true, Qt::Vertical, saTop},
    {Qt::Key_End, true, Qt::Vertical, saBottom},
};
} // namespace

void TConsole::showEvent(QShowEvent* e)
{
    QAbstractScrollArea::showEvent(e);
    if (FWindowCreated)
        return;
    FWindowCreated = true;
    SyncShown();
    try {
        RecalcMetrics();
    } catch (const EInvalidFont&) {
        // The face has fallen back to a fixed one already; nothing may leave the loop.
    }
    UpdateView();
    InvalidateAll();
}

void TConsole::resizeEvent(QResizeEvent* e)
{
    QAbstractScrollArea::resizeEvent(e);
    const bool caret = CaretWanted();
    if (caret)
        HideCursor();
    UpdateView();
    if (caret)
        ShowCursor();
}

// ---- keyboard and mouse ----

void TConsole::keyPressEvent(QKeyEvent* e)
{
    HandleKeyDown(e);
    HandleChars(e);
    e->accept();
}

void TConsole::HandleKeyDown(QKeyEvent* e)
{
    const Qt::KeyboardModifiers mods = e->modifiers() & ~Qt::KeypadModifier;
    const bool ctrlBreak = e->key() == Qt::Key_Cancel || (e->key() == Qt::Key_Pause && (mods & Qt::ControlModifier));
    if (ctrlBreak && (FOptions & coCheckBreak))
        DoCtrlBreak();
    const bool onlyCtrl = mods == Qt::ControlModifier;
    for (const TScrollKey& k : ScrollKeys) {
        if (k.Key == e->key() && (k.Ctrl ? onlyCtrl : !onlyCtrl)) {
            DoScroll(k.Axis, k.Action, 0);
            return;
        }
    }
}

void TConsole::HandleChars(QKeyEvent* e)
{
    QByteArray chars = Win1252::fromUnicode(e->text());
    const bool ctrl = e->modifiers() & Qt::ControlModifier;
    if (ctrl && e->key() >= Qt::Key_A && e->key() <= Qt::Key_Z && (chars.isEmpty() || uchar(chars[0]) >= 32))
        chars = QByteArray(1, char(e->key() - Qt::Key_A + 1));
    for (char c : chars) {
        if (c == 3 && (FOptions & coCheckBreak))
            DoCtrlBreak();
        if (FKeyCount < int(sizeof FKeyBuffer))
            FKeyBuffer[FKeyCount++] = c;
    }
    if (FKeyCount > 0 && FReadLoop)
        FReadLoop->quit();
}

void TConsole::mousePressEvent(QMouseEvent* e)
{
    setFocus(Qt::MouseFocusReason);
    QAbstractScrollArea::mousePressEvent(e);
}

void TConsole::focusInEvent(QFocusEvent* e)
{
    QAbstractScrollArea::focusInEvent(e);
    FFocused = true;
    if (CaretWanted())
        ShowCursor();
}

void TConsole::focusOutEvent(QFocusEvent* e)
{
    QAbstractScrollArea::focusOutEvent(e);
    if (CaretWanted())
        HideCursor();
    FFocused = false;
}

// ---- caret ----

bool TConsole::CaretWanted() const
{
    return FFocused && (FReading || (FOptions & coFulltimeCursor));
}

QRect TConsole::CaretRect() const
{
    const QPoint origin = PaintOrigin();
    const QPoint c = FGrid->Cursor;
    return QRect((c.x() - origin.x()) * FCharSize.x(), (c.y() - origin.y()) * FCharSize.y() + FCharAscent,
                 FCharSize.x(), 2);
}

void TConsole::ShowCursor()
{
    if (FCaretShown)
        viewport()->update(CaretRect());
    FCaretShown = true;
    FCaretOn = true;
    viewport()->update(CaretRect());
    if (!FCaretTimer.isActive()) {
        const int flash = QGuiApplication::styleHints()->cursorFlashTime();
        if (flash > 0)
            FCaretTimer.start(flash / 2);
    }
}

void TConsole::HideCursor()
{
    if (!FCaretShown)
        return;
    FCaretShown = false;
    FCaretTimer.stop();
    viewport()->update(CaretRect());
}

// ---- blocking input ----

bool TConsole::KeyPressed()
{
    if (FKeyCount > 0)
        return true;
    QCoreApplication::processEvents();
    return FKeyCount > 0;
}

char TConsole::ReadKey()
{
    DoTrackCursor();
    if (!KeyPressed()) {
        setFocus();
        if (FReading || GReading)
            throw EInvalidOperation(QStringLiteral("Read already active"));
        FReading = GReading = true;
        if (FFocused)
            ShowCursor();
        QEventLoop loop;
        FReadLoop = &loop;
        struct Done {
            TConsole* C;
            ~Done()
            {
                C->FReadLoop = nullptr;
                if (C->FFocused && !(C->FOptions & coFulltimeCursor))
                    C->HideCursor();
                C->FReading = GReading = false;
            }
        } done{this};
        // An exit of the application ends every event loop, this one without a key.
        loop.exec();
        if (FKeyCount == 0)
            throw KmcError(QStringLiteral("WM_Quit received during ReadKey"));
    }
    const char c = FKeyBuffer[0];
    --FKeyCount;
    std::memmove(FKeyBuffer, FKeyBuffer + 1, size_t(FKeyCount));
    return c;
}

int TConsole::ReadBuf(char* buffer, int size)
{
    int n = 0;
    for (;;) {
        const char c = ReadKey();
        if (c == 8) {
            if (n > 0) {
                --n;
                WriteChar(8);
            }
        } else if (static_cast<unsigned char>(c) >= 32) {
            if (n < size - 2) {
                buffer[n++] = c;
                WriteChar(c);
            }
        } else if (c == 0 || c == 13 || (c == 26 && (FOptions & coCheckEOF))) {
            // Terminator and line feed are stored only where the buffer has room.
            if (n < size)
                buffer[n++] = c;
            if (c == 13) {
                if (n < size)
                    buffer[n++] = 10;
                WriteString("\r\n");
            }
            break;
        }
    }
    DoTrackCursor();
    if (FFocused && (FOptions & coFulltimeCursor))
        ShowCursor();
    return n;
}

// ---- options and standard streams ----

void TConsole::SetOptions(TConsoleOptions options)
{
    const TConsoleOptions changed = options ^ FOptions;
    if (changed & coStdInput)
        BindStd(true, options & coStdInput);
    if (changed & coStdOutput)
        BindStd(false, options & coStdOutput);
    FOptions = options;
}

void TConsole::BindStd(bool input, bool on)
{
    TConsole*& owner = input ? GStdInOwner : GStdOutOwner;
    std::unique_ptr<TConsoleStreamBuf>& buf = input ? FStdIn : FStdOut;
    if (on) {
        if (owner)
            throw KmcError(input ? QStringLiteral("TConsole.SetOptions: Standard Input is already open")
                                 : QStringLiteral("TConsole.SetOptions: Standard Output is already open"));
        buf = std::make_unique<TConsoleStreamBuf>(*this, input);
        if (input)
            FOldCin = std::cin.rdbuf(buf.get());
        else
            FOldCout = std::cout.rdbuf(buf.get());
        owner = this;
        FOptions |= input ? coStdInput : coStdOutput;
    } else if (owner == this && buf) {
        if (input) {
            std::cin.rdbuf(FOldCin);
        } else {
            buf->pubsync();
            std::cout.rdbuf(FOldCout);
        }
        buf.reset();
        owner = nullptr;
        FOptions &= TConsoleOptions(~(input ? coStdInput : coStdOutput));
    }
}
