#pragma once
// TTbEdit: the single-line input edit. It hands the Tab key to its owner before the
// window's focus navigation sees it (tab completion needs the key), and offers the
// key-down and character hooks the owner uses for Enter and the command history.
//
// Handlers receive the sending edit first. A handler consumes a key by setting it to 0;
// the edit then does nothing more with it. Handlers may replace or clear any handler,
// their own included, while they run.

#include <QLineEdit>

#include <functional>

// Key is a Qt key code (Qt::Key_Tab, Qt::Key_Up, ...); Shift the modifiers held.
using TKeyEvent = std::function<void(QObject* Sender, int& Key, Qt::KeyboardModifiers Shift)>;
// Key is the typed character as a Windows-1252 byte ('\r' for Enter).
using TKeyPressEvent = std::function<void(QObject* Sender, char& Key)>;

class TTbEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit TTbEdit(QWidget* parent = nullptr);

    // Called for Tab with any modifiers; Shift+Tab arrives as Qt::Key_Tab with
    // Qt::ShiftModifier. Left non-zero, the key goes on to focus navigation as in a
    // plain QLineEdit. Without a handler Tab behaves as in a plain QLineEdit.
    void SetOnTabKeyPress(TKeyEvent handler) { FOnTabKeyPress = std::move(handler); }
    // Called for every other key press before the edit handles it. Changing the key to
    // another non-zero code has no effect.
    void SetOnKeyDown(TKeyEvent handler) { FOnKeyDown = std::move(handler); }
    // Called after OnKeyDown left the key, for a key that produces one character.
    // Replacing the character types the new one instead.
    void SetOnKeyPress(TKeyPressEvent handler) { FOnKeyPress = std::move(handler); }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool TabConsumed(const QKeyEvent& event);
    bool KeyDownConsumed(const QKeyEvent& event);
    void HandleCharacter(QKeyEvent* event);

    TKeyEvent FOnTabKeyPress;
    TKeyEvent FOnKeyDown;
    TKeyPressEvent FOnKeyPress;
};
