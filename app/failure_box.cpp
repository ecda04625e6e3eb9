#include "app/failure_box.h"

#include "ui/disabled_windows.h"

namespace {
// The window a box stands over when the user is in another program: the program's last active pop-up (the settings
// dialog) if it can take input, else the main window; nothing while the main window is not shown.
HWND BackgroundOwner(HWND application_window, HWND main_window) {
    if (!main_window || !IsWindowVisible(main_window)) return nullptr;
    HWND popup = application_window ? GetLastActivePopup(application_window) : nullptr;
    if (popup && popup != application_window && popup != main_window && IsWindowVisible(popup) &&
        IsWindowEnabled(popup))
        return popup;
    return main_window;
}

void FlashTaskbarButton(HWND window, DWORD flags) {
    FLASHWINFO flash{sizeof flash, window, flags, 0, 0};
    FlashWindowEx(&flash);
}
}  // namespace

void ShowFailureBox(HWND application_window, HWND main_window, const std::wstring& text, const std::wstring& caption) {
    HWND active = GetActiveWindow();
    HWND focus = GetFocus();
    HWND owner = active;
    // A dial that fails while the remote desktop client is in front: owned by the hidden window, the box would get
    // no taskbar button and could not come to the front, over a disabled launcher.
    HWND in_background = active ? nullptr : BackgroundOwner(application_window, main_window);
    if (in_background) {
        owner = in_background;
        FlashTaskbarButton(main_window, FLASHW_TRAY | FLASHW_TIMERNOFG);  // until the user comes back
    }
    if (!owner && application_window) owner = GetLastActivePopup(application_window);
    if (!owner) owner = application_window;

    {
        // The owner is the box's own to disable and enable: finding it enabled, the box enables it again before
        // it goes, and Windows hands activation back to it rather than to another program's window.
        DisabledWindows others(owner);
        MessageBoxW(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONSTOP);
    }
    if (in_background && IsWindow(main_window)) FlashTaskbarButton(main_window, FLASHW_STOP);
    if (active && IsWindow(active)) SetActiveWindow(active);
    if (focus && IsWindow(focus)) SetFocus(focus);
}
