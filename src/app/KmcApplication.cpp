#include "KmcApplication.h"

#include "platform/Errors.h"
#include "platform/Prompts.h"

TKmcApplication::TKmcApplication(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName("kmc");
    setOrganizationName("kmc");
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
