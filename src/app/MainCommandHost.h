#pragma once
// The main window as the command classes see it, and the wiring of its input line,
// keypad box and compass to them.

#include "command/CommandHost.h"

class TMudMainFrm;

class TMainCommandHost final : public ICommandHost {
public:
    explicit TMainCommandHost(TMudMainFrm& window) : FWindow(window) {}
    void Wire();

    QByteArray InputText() const override;
    int InputCursor() const override;
    void SetInputText(const QByteArray& text) override;
    void SetInputCursor(int position) override;
    void SelectAllInput() override;
    void FocusInput() override;
    void FocusNextControl() override;
    void FocusMainWindow() override;
    int ListType() const override;
    void RefreshList() override;
    void RecordingStateChanged(bool recording, bool autoMap) override;
    void LoadConfiguration(const QByteArray& fileName) override;
    void SaveConfiguration(const QByteArray& fileName) override;
    void ShowBannerAgain() override;
    void QuitApplication() override;
    void ClearConsole() override;
    void NoteAdded(const QByteArray& date, const QByteArray& text) override;
    bool AskPathName(const QByteArray& recordedPath, QByteArray& name) override;

private:
    TMudMainFrm& FWindow;
};
