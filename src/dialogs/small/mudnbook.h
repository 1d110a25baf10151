#pragma once
// TMudNoteBookFrm: the notebook, a plain text window over mudnotiz.txt beside the
// program. Created once at program start and kept hidden until OpenNotebook; closing it
// only hides it. It is not modal, so the main window stays usable.
//
// The file is Windows-1252 text with CR LF line ends; #notiz appends to it, so every
// opening reads it afresh, and an open window is handed the note as well. Saving replaces the file as a
// whole (temporary file, then rename).

#include <QString>
#include <QWidget>

class IPrompts;
class QPlainTextEdit;
class QPrinter;
class QPushButton;
class QToolButton;
class TMudConfig;
struct TOutputWindow;

class TMudNoteBookFrm : public QWidget
{
    Q_OBJECT
public:
    // Creates mudnotiz.txt empty when it is missing; a failure is reported once with
    // "Kann Notizbuch nicht erstellen!". prompts (not owned) answers the questions;
    // without one the process-wide prompts are asked.
    explicit TMudNoteBookFrm(QWidget* parent = nullptr, IPrompts* prompts = nullptr);

    // Takes font and background of config.FNoteWindow, loads the file and shows the
    // window. Unsaved changes of a window that is still open are kept, not reloaded.
    void OpenNotebook(const TMudConfig& config);

    // A note #notiz has just appended to the file: an open window shows it as well,
    // so that saving its text keeps the note; its modified state does not change. A
    // hidden window reads the file afresh when opened.
    void AppendNote(const QString& date, const QString& text);
    // Saves unsaved changes without asking (the session ends and nobody can answer).
    // False when they could not be saved.
    bool SaveIfModified();

    // Asks whether to save unsaved changes. True when the window may close: nothing
    // changed, "&Ja" and saved, or "&Nein". The main window calls it when the program
    // ends, so changes are not lost silently with the notebook still open.
    bool CloseQuery();

    // Every line of the memo in the memo's font, page after page; lines wider than the
    // page continue on the next line. False when the printer could not be started.
    bool PrintLines(QPrinter& printer) const;

    bool Modified() const { return FModified; }
    const QString& FileName() const { return FFileName; }

    QPlainTextEdit* memNotebook;
    QToolButton* sbCopy;
    QToolButton* sbPaste;
    QToolButton* sbDelete;
    QToolButton* sbCut;
    QToolButton* sbUndo;
    QToolButton* sbWordWrap;
    QToolButton* sbPrint;
    QPushButton* btnClose;

protected:
    void closeEvent(QCloseEvent* event) override;
    void showEvent(QShowEvent* event) override;
    // The platform print dialog; true when the player confirms it.
    virtual bool AskPrinter(QPrinter& printer);

private:
    QToolButton* AddToolButton(int icon, const QString& hint);
    void ApplyWindowSettings(const TOutputWindow& settings);
    void memNotebookChange();
    void sbDeleteClick();
    void sbWordWrapClick(bool wrap);
    void sbPrintClick();
    bool LoadFile();
    bool SaveFile();
    IPrompts& Ask() const;

    IPrompts* FPrompts;
    QString FFileName;
    bool FModified = false;
    bool FPlaced = false;
};
