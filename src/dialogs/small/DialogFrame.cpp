#include "dialogs/small/DialogFrame.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace DialogFrame
{

void SetupFixed(QWidget* dialog, int width, int height)
{
    QFont font = dialog->font();
    font.setPixelSize(13);
    dialog->setFont(font);
    dialog->setWindowFlag(Qt::MSWindowsFixedSizeDialogHint);
    dialog->setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    dialog->setFixedSize(width, height);
}

void CenterOnScreen(QWidget* window)
{
    QScreen* screen = window->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    if (!screen) return;
    const QRect area = screen->availableGeometry();
    QRect frame(QPoint(), window->frameGeometry().size());
    frame.moveCenter(area.center());
    window->move(frame.topLeft());
}

} // namespace DialogFrame
