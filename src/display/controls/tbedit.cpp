#include "display/controls/tbedit.h"

#include "platform/Win1252.h"

#include <QKeyEvent>

namespace
{

// The key a replacement character stands for, so the edit treats a '\r' put in by a
// handler as Enter and a printable one as typed text.
int KeyForCharacter(char c)
{
    switch (c) {
    case '\r':
        return Qt::Key_Return;
    case '\b':
        return Qt::Key_Backspace;
    case '\x1b':
        return Qt::Key_Escape;
    case '\t':
        return Qt::Key_Tab;
    default:
        return Qt::Key_unknown;
    }
}

} // namespace

TTbEdit::TTbEdit(QWidget* parent) : QLineEdit(parent) {}

bool TTbEdit::event(QEvent* event)
{
    // Focus navigation happens in QWidget::event, before keyPressEvent; Tab has to be
    // caught here to reach the owner first.
    if (event->type() == QEvent::KeyPress && TabConsumed(*static_cast<QKeyEvent*>(event))) {
        event->accept();
        return true;
    }
    return QLineEdit::event(event);
}

bool TTbEdit::TabConsumed(const QKeyEvent& event)
{
    if (!FOnTabKeyPress) return false;
    if (event.key() != Qt::Key_Tab && event.key() != Qt::Key_Backtab) return false;
    Qt::KeyboardModifiers shift = event.modifiers();
    if (event.key() == Qt::Key_Backtab) shift |= Qt::ShiftModifier;
    int key = Qt::Key_Tab;
    // A copy, so a handler that replaces itself does not destroy what is running.
    const TKeyEvent handler = FOnTabKeyPress;
    handler(this, key, shift);
    return key == 0;
}

void TTbEdit::keyPressEvent(QKeyEvent* event)
{
    if (KeyDownConsumed(*event)) {
        event->accept();
        return;
    }
    HandleCharacter(event);
}

bool TTbEdit::KeyDownConsumed(const QKeyEvent& event)
{
    if (!FOnKeyDown) return false;
    int key = event.key();
    const TKeyEvent handler = FOnKeyDown;
    handler(this, key, event.modifiers());
    return key == 0;
}

void TTbEdit::HandleCharacter(QKeyEvent* event)
{
    const QString text = event->text();
    if (!FOnKeyPress || text.size() != 1) {
        QLineEdit::keyPressEvent(event);
        return;
    }
    const char typed = Win1252::fromUnicode(text).at(0);
    char key = typed;
    const TKeyPressEvent handler = FOnKeyPress;
    handler(this, key);
    if (key == 0) {
        event->accept();
        return;
    }
    if (key == typed) {
        // The original event, so a character outside Windows-1252 is not typed as "?".
        QLineEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent replaced(QEvent::KeyPress, KeyForCharacter(key), event->modifiers(),
                       Win1252::toUnicode(QByteArray(1, key)));
    QLineEdit::keyPressEvent(&replaced);
    event->setAccepted(replaced.isAccepted());
}
