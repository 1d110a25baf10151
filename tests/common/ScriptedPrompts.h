#pragma once
// Answers modal questions from a script and records everything that was asked or shown.
// A question without a scripted answer fails the running test and answers Cancel.

#include "platform/Prompts.h"

#include <QList>
#include <QString>
#include <QStringList>

class ScriptedPrompts : public IPrompts {
public:
    ScriptedPrompts();  // installs itself as the process-wide prompts
    ~ScriptedPrompts() override;

    QList<Answer> answers;        // consumed front first by Confirm
    QList<QString> inputs;        // consumed by InputQuery; a null QString means "Abbrechen"
    QStringList log;              // "Confirm: text", "Error: text", ...

    Answer Confirm(const QString& text, bool withCancel) override;
    // Answered from answers too: Yes means OK.
    bool ConfirmOkCancel(const QString& text) override;
    void Warning(const QString& text) override;
    void Error(const QString& text) override;
    void Information(const QString& text) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;
};
