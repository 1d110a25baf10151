#include "MainCommandHost.h"

#include "Kompass.h"
#include "Mudmain.h"

#include "command/CommandProcessor.h"
#include "dialogs/small/mudedl.h"
#include "dialogs/small/mudnbook.h"
#include "display/console/ColorConsole.h"
#include "display/controls/tbedit.h"
#include "platform/Win1252.h"

#include <QComboBox>

void TMainCommandHost::Wire()
{
    TMudMainFrm& w = FWindow;
    w.MudInput->SetOnTabKeyPress([&w](QObject*, int& key, Qt::KeyboardModifiers modifiers) {
        w.Commands()->Completer().MudInputTabKeyPress(modifiers);
        key = 0;
    });
    QObject::connect(w.cbActiveNumPad, &QComboBox::currentIndexChanged, &w,
                     [&w](int index) { w.Commands()->Walker().SetActiveNumPad(index); });
    QObject::connect(w.Kompass, &TKompass::Clicked, &w, [&w](Qt::MouseButton, int x, int y) {
        w.Commands()->Walker().KompassMouseDown(x, y);
    });
}

QByteArray TMainCommandHost::InputText() const
{
    return Win1252::fromUnicode(FWindow.MudInput->text());
}

int TMainCommandHost::InputCursor() const { return FWindow.MudInput->cursorPosition(); }

void TMainCommandHost::SetInputText(const QByteArray& text)
{
    FWindow.MudInput->setText(Win1252::toUnicode(text.left(FWindow.MudInput->maxLength())));
}

void TMainCommandHost::SetInputCursor(int position) { FWindow.MudInput->setCursorPosition(position); }
void TMainCommandHost::SelectAllInput() { FWindow.MudInput->selectAll(); }
void TMainCommandHost::FocusInput() { FWindow.MudInput->setFocus(); }
void TMainCommandHost::FocusNextControl() { FWindow.focusNextChild(); }
// The window's active control keeps the keyboard, as after a click on the window;
// the window itself would take keys that no control sees.
void TMainCommandHost::FocusMainWindow()
{
    QWidget* control = FWindow.focusWidget();
    if (!control || control == &FWindow)
        control = FWindow.MudInput;
    FWindow.activateWindow();
    control->setFocus();
}
int TMainCommandHost::ListType() const { return FWindow.cbListType->currentIndex(); }
void TMainCommandHost::RefreshList() { FWindow.RefreshList(); }

void TMainCommandHost::RecordingStateChanged(bool recording, bool autoMap)
{
    FWindow.RecordingStateChanged(recording, autoMap);
}

// Names the player typed are Windows-1252 text; the window works with file paths.
void TMainCommandHost::LoadConfiguration(const QByteArray& fileName)
{
    FWindow.LoadConfiguration(Win1252::toUnicode(fileName));
}

void TMainCommandHost::SaveConfiguration(const QByteArray& fileName)
{
    FWindow.SaveConfiguration(Win1252::toUnicode(fileName));
}

void TMainCommandHost::NoteAdded(const QByteArray& date, const QByteArray& text)
{
    FWindow.FNotebook->AppendNote(Win1252::toUnicode(date), Win1252::toUnicode(text));
}

void TMainCommandHost::ShowBannerAgain()
{
    FWindow.FBannerShown = false;
    FWindow.ShowBanner();
}

void TMainCommandHost::QuitApplication() { FWindow.QuitApplication(); }

void TMainCommandHost::ClearConsole()
{
    FWindow.Mudoutput->Clear();
    FWindow.Mudoutput->update();
}

bool TMainCommandHost::AskPathName(const QByteArray& recordedPath, QByteArray& name)
{
    QByteArray value = recordedPath;
    TMudEditFields dialog(&FWindow);
    return dialog.Execute(name, value, 1);
}
