#include "app/failure_box.h"

#include <vector>

namespace {
BOOL CALLBACK CollectEnabled(HWND hwnd, LPARAM list) {
    if (IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}
}  // namespace

void ShowFailureBox(HWND application_window, const std::wstring& text, const std::wstring& caption) {
    HWND active = GetActiveWindow();
    HWND focus = GetFocus();
    HWND owner = active;
    if (!owner && application_window) owner = GetLastActivePopup(application_window);
    if (!owner) owner = application_window;

    std::vector<HWND> disabled;
    EnumThreadWindows(GetCurrentThreadId(), CollectEnabled, reinterpret_cast<LPARAM>(&disabled));
    for (HWND hwnd : disabled) EnableWindow(hwnd, FALSE);

    MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);

    for (HWND hwnd : disabled)
        if (IsWindow(hwnd)) EnableWindow(hwnd, TRUE);
    if (active && IsWindow(active)) SetActiveWindow(active);
    if (focus && IsWindow(focus)) SetFocus(focus);
}
