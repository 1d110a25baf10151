#include "CommandLine.h"
#include "KmcApplication.h"
#include "MessageBoxPrompts.h"
#include "Mudmain.h"
#include "ToolIcons.h"

#include <iostream>

int main(int argc, char** argv)
{
    if (CommandLine::Answer(argc, argv, std::cout))
        return 0;
    TKmcApplication app(argc, argv);
    app.setWindowIcon(ToolIcons::Make(ToolIcons::App));
    TMessageBoxPrompts prompts;
    SetPrompts(&prompts);
    int rc = 0;
    {
        TMudMainFrm window(prompts);
        prompts.SetParent(&window);
        window.show();
        rc = app.exec();
    }
    SetPrompts(nullptr);
    return rc;
}
