#pragma once
// The real prompts: German message boxes and a small input box.

#include "platform/Prompts.h"

class QWidget;

class TMessageBoxPrompts final : public IPrompts {
public:
    explicit TMessageBoxPrompts(QWidget* parent = nullptr) : FParent(parent) {}
    void SetParent(QWidget* parent) { FParent = parent; }

    Answer Confirm(const QString& text, bool withCancel) override;
    bool ConfirmOkCancel(const QString& text) override;
    void Warning(const QString& text) override;
    void Error(const QString& text) override;
    void Information(const QString& text) override;
    bool InputQuery(const QString& caption, const QString& prompt, QString& value) override;

private:
    QWidget* FParent;
};
