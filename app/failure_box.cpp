#include "app/failure_box.h"

#include "ui/disabled_windows.h"

namespace {
// The program's topmost window that takes input: a box already up, else the modal settings dialog, else the main
// window (disabled under the dialog or a box, it never is). Nothing while none shows.
HWND TopEnabledWindow(HWND application_window) {
    const DWORD thread = GetCurrentThreadId();
    for (HWND window = GetTopWindow(nullptr); window; window = GetWindow(window, GW_HWNDNEXT)) {
        if (window == application_window || GetWindowThreadProcessId(window, nullptr) != thread) continue;
        if (IsWindowVisible(window) && IsWindowEnabled(window)) return window;
    }
    return nullptr;
}

void FlashTaskbarButton(HWND window, DWORD flags) {
    FLASHWINFO flash{sizeof flash, window, flags, 0, 0};
    FlashWindowEx(&flash);
}
}  // namespace

void ShowFailureBox(HWND application_window, HWND main_window, const std::wstring& text, const std::wstring& caption) {
    HWND active = GetActiveWindow();
    HWND focus = GetFocus();
    // A dial that fails while the remote desktop client is in front: owned by the hidden window, the box would get
    // no taskbar button and could not come to the front; owned by a window the settings dialog disabled, the box
    // would enable it again as it goes, under the dialog.
    HWND owner = active && IsWindowEnabled(active) ? active : TopEnabledWindow(application_window);
    const bool in_background = !active && owner && main_window && IsWindowVisible(main_window);
    if (in_background) FlashTaskbarButton(main_window, FLASHW_TRAY | FLASHW_TIMERNOFG);  // until the user comes back
    if (!owner && application_window) owner = GetLastActivePopup(application_window);
    if (!owner) owner = application_window;
    const bool owner_enabled = IsWindowEnabled(owner) != FALSE;

    {
        // The owner is the box's own to disable and enable: finding it enabled, the box enables it again before
        // it goes, and Windows hands activation back to it rather than to another program's window.
        DisabledWindows others(owner);
        MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
    }
    if (!owner_enabled && IsWindow(owner)) EnableWindow(owner, FALSE);  // as it was, whatever the box did
    if (in_background && IsWindow(main_window)) FlashTaskbarButton(main_window, FLASHW_STOP);
    if (active && IsWindow(active)) SetActiveWindow(active);
    if (focus && IsWindow(focus)) SetFocus(focus);
}
