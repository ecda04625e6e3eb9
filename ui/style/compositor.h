#pragma once
// The desktop compositor's say over a styled window (Windows 10 and 11). dwmapi.dll is loaded on first use and
// each setting is only asked for: where the DLL, the function or the setting is missing (Windows 10 knows no corner
// preference; Wine's are stubs), the window stays as it is.
#include <windows.h>
#include <optional>

// true: the program paints the window's frame through WM_NCPAINT and the compositor draws none of its own
// (caption, buttons, border, shadow); false: the compositor follows the window's style again, the system default.
void SetProgramDrawsFrame(HWND hwnd, bool program_draws);

// true: square corners on Windows 11, so the frame's one-pixel line is not clipped; false: the system's choice.
void SetSquareCorners(HWND hwnd, bool square);

// Windows 11 (build 22000 on) draws a border of its own around drop-down menus: in `colour`, or the system's
// (nullopt). Windows 10 refuses the attribute, and keeps its own.
void SetBorderColour(HWND hwnd, std::optional<COLORREF> colour);

// Makes the system measure and paint the window's frame again (SWP_FRAMECHANGED), without moving it.
void ChangeFrame(HWND hwnd);
