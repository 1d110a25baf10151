#pragma once
// Answers modal questions from a script and records everything that was asked or shown.
// A question without a scripted answer fails the running test and answers Cancel.

#include "platform/Prompts.h"

#include <QList>
#include <QStringList>
#include <QTest>

class ScriptedPrompts : public IPrompts {
public:
    ScriptedPrompts() { SetPrompts(this); } // installs itself as the process-wide prompts
    ~ScriptedPrompts() override { SetPrompts(nullptr); }

    QList<Answer> answers; // consumed front first by Confirm and ConfirmOkCancel (Yes: OK)
    QList<QString> inputs; // consumed by InputQuery; a null QString means "Abbrechen"
    QStringList log;       // "Confirm2: text", "Error: text", ...

    Answer Confirm(const QString& text, bool withCancel) override
    {
        log << QStringLiteral("Confirm%1: %2").arg(withCancel ? "3" : "2", text);
        return Next(answers, Answer::Cancel, text);
    }
    bool ConfirmOkCancel(const QString& text) override
    {
        log << "ConfirmOk: " + text;
        return Next(answers, Answer::Cancel, text) == Answer::Yes;
    }
    void Warning(const QString& text) override { log << "Warning: " + text; }
    void Error(const QString& text) override { log << "Error: " + text; }
    void Information(const QString& text) override { log << "Information: " + text; }
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override
    {
        log << QStringLiteral("Input: %1 / %2 [%3]").arg(caption, prompt, value);
        const QString answer = Next(inputs, QString(), prompt);
        if (answer.isNull()) return false;
        value = answer;
        return true;
    }

private:
    template <typename T> static T Next(QList<T>& script, T none, const QString& asked)
    {
        if (!script.isEmpty()) return script.takeFirst();
        QTest::qFail(qPrintable("unexpected question: " + asked), __FILE__, __LINE__);
        return none;
    }
};
