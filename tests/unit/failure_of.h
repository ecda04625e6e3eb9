#pragma once
#include "platform/failure.h"

#include <functional>
#include <string>

// The message of the failure `action` throws, or "(no failure)".
inline std::wstring FailureOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Failure& failure) {
        return failure.message();
    }
    return L"(no failure)";
}
