// Shows the settings dialog on the page given as the first argument, with a few list
// entries, for looking at it under a real X server; "font" shows the font chooser.
#include "ScriptedPrompts.h"
#include "dialogs/settings/CommonDialogs.h"
#include "dialogs/settings/mudconf.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    TMudConfig config;
    config.FAliases = {"gg/sage gute Nacht", "ww/wer"};
    config.FSessions = {"vez/mud.vezoriza.de/4711"};
    config.FHighlights = {"Drache/10/1", "Zwerg/12/5"};
    config.SetFuncKey(1, "schaue");
    ScriptedPrompts prompts;
    TQtCommonDialogs dialogs;
    if (argc > 1 && QByteArray(argv[1]) == "font") {
        TFontSpec font;
        return dialogs.ChooseFont(font, nullptr) ? 0 : 1;
    }
    TMudConfFrm dialog(config, prompts, dialogs);
    dialog.ShowPage(argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 0);
    dialog.show();
    return app.exec();
}
