#pragma once
// The standard message box that shows a failure: stop icon, one OK button, the title as caption.
#include <windows.h>
#include <string>

// Shows the box owned by the program's active window; when none is active (the user is in another program), by
// the main window or the settings dialog over it, flashing the main window's taskbar button until the user comes
// back; else the hidden window's last active pop-up, else the hidden window. The box disables its owner itself,
// the program's other windows are disabled while it shows, and the active window and focus return afterwards.
void ShowFailureBox(HWND application_window, HWND main_window, const std::wstring& text, const std::wstring& caption);
