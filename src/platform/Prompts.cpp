#include "Prompts.h"

#include <QDebug>

namespace {

class SilentPrompts final : public IPrompts {
public:
    Answer Confirm(const QString& text, bool) override
    {
        qWarning("unanswered question: %s", qPrintable(text));
        return Answer::No;
    }
    void Warning(const QString& text) override { qWarning("Warnung: %s", qPrintable(text)); }
    void Error(const QString& text) override { qWarning("Fehler: %s", qPrintable(text)); }
    void Information(const QString& text) override { qInfo("Information: %s", qPrintable(text)); }
    bool InputQuery(const QString&, const QString&, QString&) override { return false; }
};

SilentPrompts gSilent;
IPrompts* gCurrent = nullptr;

} // namespace

IPrompts& Prompts() { return gCurrent ? *gCurrent : gSilent; }

void SetPrompts(IPrompts* prompts) { gCurrent = prompts; }
