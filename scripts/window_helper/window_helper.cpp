// Finds Kavlo Connect's windows from outside, for scripts/run and scripts/screenshots: prints a window's place as
// WIDTHxHEIGHT+X+Y (for a crop), opens the settings dialog through the menu and closes everything politely. The
// program's menus live in its own process, so the menu is driven with keys, as a user would.
//   window_helper font | place | launcher | settings | close
#include "ui/window_classes.h"

#include <windows.h>
#include <cstdio>
#include <cwchar>

static HWND found;
static bool want_launcher;

static BOOL CALLBACK Find(HWND hwnd, LPARAM) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    bool launcher = (GetWindowLongPtrW(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW) != 0;
    if (wcscmp(name, kFormClassName) == 0 && IsWindowVisible(hwnd) && launcher == want_launcher) found = hwnd;
    return TRUE;
}

static HWND WaitFor(bool launcher) {
    want_launcher = launcher;
    for (int i = 0; i < 400; ++i) {
        found = nullptr;
        EnumWindows(Find, 0);
        if (found) return found;
        Sleep(50);
    }
    fwprintf(stderr, L"the %ls did not show\n", launcher ? L"launcher" : L"settings dialog");
    ExitProcess(1);
}

// The family Wine really draws when a window asks for the program's font.
static void PrintTahomaFamily() {
    HDC dc = CreateCompatibleDC(nullptr);
    HFONT font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                             CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");
    HGDIOBJ old = SelectObject(dc, font);
    alignas(8) unsigned char buffer[4096];
    auto* metrics = reinterpret_cast<OUTLINETEXTMETRICW*>(buffer);
    if (GetOutlineTextMetricsW(dc, sizeof buffer, metrics))
        wprintf(L"%ls\n",
                reinterpret_cast<const wchar_t*>(buffer + reinterpret_cast<UINT_PTR>(metrics->otmpFamilyName)));
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
}

static void PrintPlace(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    wprintf(L"%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
}

int wmain(int argc, wchar_t** argv) {
    const wchar_t* what = argc > 1 ? argv[1] : L"";
    if (wcscmp(what, L"font") == 0) {
        PrintTahomaFamily();
    } else if (wcscmp(what, L"place") == 0) {
        PrintPlace(WaitFor(true));  // where the launcher stands, left there
    } else if (wcscmp(what, L"launcher") == 0) {
        HWND launcher = WaitFor(true);
        SetWindowPos(launcher, nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);  // wholly on the screen
        PrintPlace(launcher);
    } else if (wcscmp(what, L"settings") == 0) {
        // As from the keyboard: into the menu bar, down into "FILE", Enter on its first item.
        HWND launcher = WaitFor(true);
        PostMessageW(launcher, WM_SYSCOMMAND, SC_KEYMENU, 0);
        Sleep(300);
        PostMessageW(launcher, WM_KEYDOWN, VK_DOWN, 0);
        Sleep(300);
        PostMessageW(launcher, WM_KEYDOWN, VK_RETURN, 0);
        PrintPlace(WaitFor(false));
    } else if (wcscmp(what, L"close") == 0) {
        want_launcher = false;
        found = nullptr;
        EnumWindows(Find, 0);
        if (found) PostMessageW(found, WM_CLOSE, 0, 0);
        for (int i = 0; i < 100 && found && IsWindowVisible(found); ++i) Sleep(50);
        PostMessageW(WaitFor(true), WM_CLOSE, 0, 0);
    } else {
        fwprintf(stderr, L"usage: window_helper font|place|launcher|settings|close\n");
        return 2;
    }
    return 0;
}
