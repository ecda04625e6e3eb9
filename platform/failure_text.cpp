#include "platform/failure_text.h"

std::wstring FailureBoxText(const Failure& failure) {
    std::wstring text = failure.message();
    const Failure* innermost = &failure;
    while (innermost->inner()) innermost = innermost->inner();
    if (innermost != &failure && !innermost->message().empty()) text = innermost->message();
    if (!text.empty() && text.back() > L'.') text += L'.';
    return text;
}
