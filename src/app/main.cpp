#include "KmcApplication.h"
#include "MessageBoxPrompts.h"
#include "Mudmain.h"

int main(int argc, char** argv)
{
    TKmcApplication app(argc, argv);
    TMessageBoxPrompts prompts;
    SetPrompts(&prompts);
    TMudMainFrm window;
    prompts.SetParent(&window);
    window.show();
    const int rc = app.exec();
    SetPrompts(nullptr);
    return rc;
}
