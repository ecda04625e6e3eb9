#include "ui/failure_report.h"

namespace {
std::function<void(const std::exception_ptr&)>& Handler() {
    static std::function<void(const std::exception_ptr&)> handler;
    return handler;
}
}  // namespace

void SetFailureHandler(std::function<void(const std::exception_ptr&)> handler) { Handler() = std::move(handler); }

void ReportFailure(const std::exception_ptr& failure) noexcept {
    try {
        if (Handler()) Handler()(failure);
    } catch (...) {
        // The failure box itself failed (out of memory): nothing more can be shown.
    }
}
