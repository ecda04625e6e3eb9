#include "app/failure_box.h"

#include "ui/disabled_windows.h"

void ShowFailureBox(HWND application_window, const std::wstring& text, const std::wstring& caption) {
    HWND active = GetActiveWindow();
    HWND focus = GetFocus();
    HWND owner = active;
    if (!owner && application_window) owner = GetLastActivePopup(application_window);
    if (!owner) owner = application_window;

    {
        // The owner is the box's own to disable and enable: finding it enabled, the box enables it again before
        // it goes, and Windows hands activation back to it rather than to another program's window.
        DisabledWindows others(owner);
        MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
    }
    if (active && IsWindow(active)) SetActiveWindow(active);
    if (focus && IsWindow(focus)) SetFocus(focus);
}
