#include "ScriptedPrompts.h"

#include <QTest>

ScriptedPrompts::ScriptedPrompts() { SetPrompts(this); }

ScriptedPrompts::~ScriptedPrompts() { SetPrompts(nullptr); }

IPrompts::Answer ScriptedPrompts::Confirm(const QString& text, bool withCancel)
{
    log << QStringLiteral("Confirm%1: %2").arg(withCancel ? "3" : "2", text);
    if (answers.isEmpty()) {
        QTest::qFail(qPrintable("unexpected question: " + text), __FILE__, __LINE__);
        return Answer::Cancel;
    }
    return answers.takeFirst();
}

bool ScriptedPrompts::ConfirmOkCancel(const QString& text)
{
    log << "ConfirmOk: " + text;
    if (answers.isEmpty()) {
        QTest::qFail(qPrintable("unexpected question: " + text), __FILE__, __LINE__);
        return false;
    }
    return answers.takeFirst() == Answer::Yes;
}

void ScriptedPrompts::Warning(const QString& text) { log << "Warning: " + text; }
void ScriptedPrompts::Error(const QString& text) { log << "Error: " + text; }
void ScriptedPrompts::Information(const QString& text) { log << "Information: " + text; }

bool ScriptedPrompts::InputQuery(const QString& caption, const QString& prompt, QString& value)
{
    log << QStringLiteral("Input: %1 / %2 [%3]").arg(caption, prompt, value);
    if (inputs.isEmpty()) {
        QTest::qFail(qPrintable("unexpected input box: " + prompt), __FILE__, __LINE__);
        return false;
    }
    const QString answer = inputs.takeFirst();
    if (answer.isNull())
        return false;
    value = answer;
    return true;
}
