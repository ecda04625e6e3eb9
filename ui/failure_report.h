#pragma once
// Where a failure caught at a window procedure's edge goes: the application's failure box.
#include <exception>
#include <functional>

void SetFailureHandler(std::function<void(const std::exception_ptr&)> handler);
// Hands the failure to the installed handler; never throws.
void ReportFailure(const std::exception_ptr& failure) noexcept;
