#include "KmcApplication.h"

#include "platform/Errors.h"
#include "platform/Prompts.h"

#include <QLibraryInfo>
#include <QTranslator>

TKmcApplication::TKmcApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    NameApplication(*this);
    // No display name: Qt would append it to every window title on X11 and Wayland.
    InstallGermanQtTexts(*this);
}

void TKmcApplication::NameApplication(QCoreApplication& app)
{
    // No organisation name: Qt would add it as a second level, ~/.local/share/kmc/kmc/.
    app.setApplicationName(QStringLiteral("kmc"));
}

bool TKmcApplication::InstallGermanQtTexts(QCoreApplication& app)
{
    auto* translator = new QTranslator(&app);
    if (!translator->load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"),
                          QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return false;
    }
    return QCoreApplication::installTranslator(translator);
}

bool TKmcApplication::notify(QObject* receiver, QEvent* event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const KmcError& e) {
        Prompts().Error(e.Message());
    } catch (const std::exception& e) {
        Prompts().Error(QString::fromLocal8Bit(e.what()));
    }
    return false;
}
