#pragma once

#include <QString>

// The message of the E that action throws.
template <class E, class F>
QString ThrownBy(F action)
{
    try {
        action();
    } catch (const E& e) {
        return e.Message();
    }
    return QStringLiteral("(nothing thrown)");
}
