#pragma once

#include "platform/Failure.h"

#include <QString>

#include <functional>

// The description a failing action gives the user, or "no failure".
inline QString FailureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Failure& failure) {
        return failure.Description();
    }
    return QStringLiteral("no failure");
}
