#pragma once
// The standard message box that shows a failure: stop icon, one OK button, the title as caption.
#include <windows.h>
#include <string>

// Shows the box owned by the program's active window; when none is active (the user is in another program), by
// the program's topmost window that takes input (a box already up, the modal settings dialog, else the main
// window), flashing the main window's taskbar button until the user comes back; before any window shows, the
// hidden window's last active pop-up, else the hidden window. The box disables its owner itself, the program's
// other windows are disabled while it shows, and afterwards each window is enabled or disabled as it was, and the
// active window and focus return.
void ShowFailureBox(HWND application_window, HWND main_window, const std::wstring& text, const std::wstring& caption);
