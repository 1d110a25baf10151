#pragma once
// Drives the settings dialog without a blocking window: questions come from a script,
// the font and colour choosers from queues.

#include "ScriptedPrompts.h"
#include "dialogs/settings/CommonDialogs.h"
#include "dialogs/settings/mudconf.h"

#include <QComboBox>
#include <QTest>

#include <memory>

class TQueuedCommonDialogs : public ICommonDialogs
{
public:
    QList<TFontSpec> fonts; // empty: the player cancels
    QList<TColor> colors;

    bool ChooseFont(TFontSpec& font, QWidget*) override
    {
        if (fonts.isEmpty()) return false;
        font = fonts.takeFirst();
        return true;
    }
    bool ChooseColor(TColor& color, QWidget*) override
    {
        if (colors.isEmpty()) return false;
        color = colors.takeFirst();
        return true;
    }
};

struct TSettingsFixture {
    TMudConfig config;
    ScriptedPrompts prompts;
    TQueuedCommonDialogs dialogs;
    std::unique_ptr<TMudConfFrm> dlg;

    TMudConfFrm& Open(int page)
    {
        dlg = std::make_unique<TMudConfFrm>(config, prompts, dialogs);
        dlg->ShowPage(page);
        dlg->show();
        return *dlg;
    }
    const TMudConfig& Work() const { return dlg->WorkingConfig(); }
};

// The player picks an entry of a drop-down list.
inline void Choose(QComboBox* combo, int index)
{
    combo->setCurrentIndex(index);
    emit combo->activated(index);
}

inline void Type(QWidget* field, const QString& text)
{
    QTest::keyClicks(field, text);
}
