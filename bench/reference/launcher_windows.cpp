#include "launcher_windows.h"

#include "png_pixels.h"

#include <cstring>

namespace {

// The program's PNG resource, decoded into a 32-bit top-down DIB section.
HBITMAP LoadPicture(HINSTANCE instance, const wchar_t* name, int& width, int& height) {
    HRSRC found = FindResourceW(instance, name, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (!found) return nullptr;
    const auto* bytes = static_cast<const std::uint8_t*>(LockResource(LoadResource(instance, found)));
    const PngPixels pixels = DecodePngPixels(bytes, SizeofResource(instance, found));
    if (pixels.bgra.empty()) return nullptr;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = pixels.width;
    info.bmiHeader.biHeight = -pixels.height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (bitmap) std::memcpy(bits, pixels.bgra.data(), pixels.bgra.size());
    width = pixels.width;
    height = pixels.height;
    return bitmap;
}

HICON IconFromPicture(HBITMAP picture, int width, int height) {
    HBITMAP mask = CreateBitmap(width, height, 1, 1, nullptr);
    ICONINFO info{TRUE, 0, 0, mask, picture};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    return icon;
}

}  // namespace

LauncherWindows MakeLauncherWindows(const HandMadeShared& shared) {
    LauncherWindows launcher;
    HMENU file = CreatePopupMenu();
    AppendMenuW(file, MF_STRING, kSettingsCommand, L"تنظیمات سرور");
    AppendMenuW(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(file, MF_STRING, kExitCommand, L"خروج");
    HMENU bar = CreateMenu();
    AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(file), L"FILE");

    const DWORD ex_style = kFormExStyle | WS_EX_APPWINDOW;
    const RECT frame = FrameFor(891, 77, 404, 133, kFormStyle, ex_style, true);
    const POINT place = PlacedInWorkArea(frame);
    HWND window =
        CreateWindowExW(ex_style, kHandMadeFormClass, L"ارتباط با شرکت", kFormStyle, place.x, place.y,
                        frame.right - frame.left, frame.bottom - frame.top, nullptr, bar, shared.instance, nullptr);
    launcher.window = window;
    RECT client;
    GetClientRect(window, &client);
    if (client.bottom != 133)  // the menu bar wrapped: taller by the difference, as the program corrects it
        SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + 133 - client.bottom,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(shared.font), FALSE);

    // Docked as the layout says: Panel1 left, Panel2 right, Panel3 the rest; Panel4 on top inside Panel2.
    HWND panel1 = MakePanel(shared, L"", window, 0, 0, 59, 133, 1);
    launcher.vpn = MakeChild(shared, L"BUTTON", 0, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX, L"VPN", panel1, 8, 12, 40,
                             17, kVpnBoxId);
    HWND close =
        MakeChild(shared, L"BUTTON", 0, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON | BS_ICON | BS_CENTER | BS_VCENTER, L"",
                  panel1, 0, 90, 59, 42, kCloseButtonId);
    int glyph_width = 0, glyph_height = 0;
    if (HBITMAP glyph = LoadPicture(shared.instance, L"CLOSE_GLYPH", glyph_width, glyph_height)) {
        launcher.close_glyph = IconFromPicture(glyph, glyph_width, glyph_height);
        DeleteObject(glyph);  // the icon holds its own copy
        SendMessageW(close, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(launcher.close_glyph));
    }

    HWND panel2 = MakePanel(shared, L"", window, 207, 0, 197, 133, 2);
    HWND panel4 = MakePanel(shared, L"Panel4", panel2, 1, 1, 195, 105, 4);
    launcher.logo = LoadPicture(shared.instance, L"LOGO", launcher.logo_width, launcher.logo_height);
    MakeChild(shared, L"STATIC", 0, WS_VISIBLE | SS_OWNERDRAW, L"", panel4, 1, 1, 193, 103, kLogoId);
    MakeChild(shared, L"BUTTON", 0, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, L"CONNECT WiFi", panel2, 0, 108, 97, 25,
              kConnectWifiId);
    MakeChild(shared, L"BUTTON", 0, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, L"DISCONNECT WiFi", panel2, 98, 108, 97,
              25, kDisconnectWifiId);

    HWND panel3 = MakePanel(shared, L"", window, 59, 0, 148, 133, 3);
    MakeChild(shared, L"BUTTON", 0, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, L"Start", panel3, 1, 1, 146, 131,
              kStartId);
    return launcher;
}

void DestroyLauncherWindows(LauncherWindows& launcher) {
    DestroyWindow(launcher.window);  // destroys the menu with it
    DeleteObject(launcher.logo);
    DestroyIcon(launcher.close_glyph);
    launcher = {};
}

void DrawLogo(const LauncherWindows& launcher, const DRAWITEMSTRUCT& item) {
    FillRect(item.hDC, &item.rcItem, GetSysColorBrush(COLOR_BTNFACE));
    if (!launcher.logo) return;
    HDC source = CreateCompatibleDC(item.hDC);
    HGDIOBJ old = SelectObject(source, launcher.logo);
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    GdiAlphaBlend(item.hDC, 0, 0, launcher.logo_width, launcher.logo_height, source, 0, 0, launcher.logo_width,
                  launcher.logo_height, blend);
    SelectObject(source, old);
    DeleteDC(source);
}
