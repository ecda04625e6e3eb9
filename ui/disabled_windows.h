#pragma once
// While a modal window shows, the program's other windows take no input: this disables the thread's visible,
// enabled top-level windows (all but one) and enables them again when it goes.
#include <windows.h>
#include <vector>

class DisabledWindows {
public:
    explicit DisabledWindows(HWND except = nullptr);
    DisabledWindows(const DisabledWindows&) = delete;
    DisabledWindows& operator=(const DisabledWindows&) = delete;
    ~DisabledWindows();

private:
    std::vector<HWND> windows_;
};
