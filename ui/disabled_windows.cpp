#include "ui/disabled_windows.h"

#include <algorithm>

namespace {
BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM list) {
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}
}  // namespace

DisabledWindows::DisabledWindows(HWND except) {
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&windows_));
    std::erase(windows_, except);
    for (HWND hwnd : windows_) EnableWindow(hwnd, FALSE);
}

DisabledWindows::~DisabledWindows() {
    for (HWND hwnd : windows_)
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
}
