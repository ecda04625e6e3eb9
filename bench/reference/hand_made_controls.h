#pragma once
// What the hand-made reference's two windows share: the window classes, the one font, and plain helpers that
// make a child control at its final place with that font. Everything is a direct Win32 call.
#include <windows.h>

constexpr wchar_t kHandMadeFormClass[] = L"HandMadeForm";  // the launcher and the settings dialog
constexpr wchar_t kHandMadePanelClass[] = L"HandMadePanel";

// A form's frame: caption and close box, the window menu, no minimise or maximise box (as the program's).
constexpr DWORD kFormStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
constexpr DWORD kFormExStyle = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;

struct HandMadeShared {
    HINSTANCE instance = nullptr;
    HFONT font = nullptr;  // Tahoma 8 pt, shared by every control of both windows
};

// Registers the form and panel classes, with the program's icon.
void RegisterHandMadeClasses(HINSTANCE instance, WNDPROC form_procedure, HICON large_icon, HICON small_icon);

HWND MakeChild(const HandMadeShared& shared, const wchar_t* class_name, DWORD ex_style, DWORD style,
               const wchar_t* text, HWND parent, int left, int top, int width, int height, int id);

// A container with a one-pixel raised edge and its caption centred; it passes its children's notifications up.
HWND MakePanel(const HandMadeShared& shared, const wchar_t* caption, HWND parent, int left, int top, int width,
               int height, int id);

// A text label as wide and high as its caption in the shared font, measured on `screen`.
HWND MakeLabel(const HandMadeShared& shared, HDC screen, const wchar_t* caption, HWND parent, int left, int top,
               int id);

// The frame rectangle for a client area of that size at that place.
RECT FrameFor(int left, int top, int client_width, int client_height, DWORD style, DWORD ex_style, bool menu);

// `frame` moved (never resized) into the work area of the nearest monitor where it would not lie inside whole.
POINT PlacedInWorkArea(const RECT& frame);
