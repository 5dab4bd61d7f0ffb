// The RunError an action raises, for the tests that expect one: a test failure, and an error
// of kind System without detail, when the action returns instead.
#pragma once
#include "platform/RunError.h"

#include <gtest/gtest.h>

#include <functional>

inline RunError RunErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const RunError& error) {
        return error;
    }
    ADD_FAILURE() << "no RunError";
    return RunError(ErrorKind::System);
}

inline ErrorKind KindOf(const std::function<void()>& action) {
    return RunErrorOf(action).Kind();
}
