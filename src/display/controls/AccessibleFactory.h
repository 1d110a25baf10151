#pragma once
// Gives every widget of class W the accessible interface A (constructed from the
// widget), from the first call on; later calls do nothing.

#include <QAccessible>

template <class W, class A>
void InstallAccessibleInterface()
{
    static const bool installed = [] {
        QAccessible::installFactory([](const QString& className, QObject* object) -> QAccessibleInterface* {
            if (className == QLatin1String(W::staticMetaObject.className()) && object && object->isWidgetType())
                return new A(static_cast<W*>(object));
            return nullptr;
        });
        return true;
    }();
    (void)installed;
}
