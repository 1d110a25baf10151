#pragma once
// Every modal question and message box of the program goes through IPrompts, so that
// tests answer from a script instead of blocking. Texts are shown as given (German,
// captions "Warnung", "Fehler", "Information", "Bestätigen").

#include <QString>

class IPrompts {
public:
    enum class Answer { Yes, No, Cancel };

    virtual ~IPrompts() = default;

    // "Bestätigen" with "&Ja" and "&Nein" (and "Abbrechen" when withCancel).
    virtual Answer Confirm(const QString& text, bool withCancel) = 0;
    // "Bestätigen" with "OK" and "Abbrechen"; true for OK.
    virtual bool ConfirmOkCancel(const QString& text) { return Confirm(text, false) == Answer::Yes; }
    virtual void Warning(const QString& text) = 0;
    virtual void Error(const QString& text) = 0;
    virtual void Information(const QString& text) = 0;
    // Single-line input box; value holds the preset and receives the answer.
    // False when the player cancels (value unchanged).
    virtual bool InputQuery(const QString& caption, const QString& prompt, QString& value) = 0;
};

// The process-wide prompts used where no instance is handed in (the application's top
// level, socket errors). The application installs the message-box implementation at
// start; before that, and in tests that install none, questions answer No and
// messages go to the debug log. Not owned.
IPrompts& Prompts();
void SetPrompts(IPrompts* prompts);
