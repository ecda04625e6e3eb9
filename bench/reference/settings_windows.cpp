#include "settings_windows.h"

#include "settings_file.h"

namespace {

const wchar_t kConnectionTemplate[] =
    L"screen mode id:i:2\r\n"
    L"use multimon:i:0\r\n"
    L"desktopwidth:i:1920\r\n"
    L"desktopheight:i:1080\r\n"
    L"session bpp:i:32\r\n"
    L"winposstr:s:0,3,0,0,800,600\r\n"
    L"compression:i:1\r\n"
    L"keyboardhook:i:2\r\n"
    L"audiocapturemode:i:0\r\n"
    L"videoplaybackmode:i:1\r\n"
    L"connection type:i:7\r\n"
    L"networkautodetect:i:1\r\n"
    L"bandwidthautodetect:i:1\r\n"
    L"displayconnectionbar:i:1\r\n"
    L"enableworkspacereconnect:i:0\r\n"
    L"disable wallpaper:i:0\r\n"
    L"allow font smoothing:i:0\r\n"
    L"allow desktop composition:i:0\r\n"
    L"disable full window drag:i:1\r\n"
    L"disable menu anims:i:1\r\n"
    L"disable themes:i:0\r\n"
    L"disable cursor setting:i:0\r\n"
    L"bitmapcachepersistenable:i:1\r\n"
    L"full address:s:192.168.1.1:7777\r\n"
    L"audiomode:i:0\r\n"
    L"redirectprinters:i:1\r\n"
    L"redirectcomports:i:0\r\n"
    L"redirectsmartcards:i:1\r\n"
    L"redirectclipboard:i:1\r\n"
    L"redirectposdevices:i:0\r\n"
    L"autoreconnection enabled:i:1\r\n"
    L"authentication level:i:2\r\n"
    L"prompt for credentials:i:0\r\n"
    L"negotiate security layer:i:1\r\n"
    L"remoteapplicationmode:i:0\r\n"
    L"alternate shell:s:\r\n"
    L"shell working directory:s:\r\n"
    L"gatewayhostname:s:\r\n"
    L"gatewayusagemethod:i:4\r\n"
    L"gatewaycredentialssource:i:4\r\n"
    L"gatewayprofileusagemethod:i:0\r\n"
    L"promptcredentialonce:i:0\r\n"
    L"gatewaybrokeringtype:i:0\r\n"
    L"use redirection server name:i:0\r\n"
    L"rdgiskdcproxy:i:0\r\n"
    L"kdcproxyname:s:\r\n";

constexpr DWORD kEditStyle = WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT;
constexpr DWORD kMemoStyle = WS_TABSTOP | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN | ES_LEFT;

HWND MakeEdit(const HandMadeShared& shared, DWORD style, const wchar_t* text, HWND parent, int left, int top, int width,
              int height, int id) {
    HWND edit = MakeChild(shared, L"EDIT", WS_EX_CLIENTEDGE, style, text, parent, left, top, width, height, id);
    SendMessageW(edit, EM_SETLIMITTEXT, 0, 0);  // no length limit, as the program's edits
    return edit;
}

std::wstring TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

}  // namespace

SettingsWindows MakeSettingsWindows(const HandMadeShared& shared) {
    SettingsWindows settings;
    const RECT frame = FrameFor(0, 0, 312, 258, kFormStyle, kFormExStyle, false);
    HWND window =
        CreateWindowExW(kFormExStyle, kHandMadeFormClass, L"تنظیمات اتصال", kFormStyle, frame.left, frame.top,
                        frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr, shared.instance, nullptr);
    settings.window = window;
    SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(shared.font), FALSE);

    HDC screen = GetDC(nullptr);  // the labels are sized to their captions
    HGDIOBJ old_font = SelectObject(screen, shared.font);
    // Siblings without a tab order stay above those with one, as in the program.
    MakeLabel(shared, screen, L"نام شبکه WIFI", window, 48, 19, 1);
    MakeLabel(shared, screen, L"Server IP:", window, 70, 45, 2);
    settings.wifi = MakeEdit(shared, kEditStyle, L"", window, 130, 11, 141, 21, 3);
    HWND panel = MakePanel(shared, L"", window, 24, 74, 265, 127, 4);
    MakeLabel(shared, screen, L"نام اتصال VPN", panel, 32, 43, 5);
    MakeLabel(shared, screen, L"VPN User:", panel, 46, 70, 6);
    MakeLabel(shared, screen, L"VPN password:", panel, 28, 99, 7);
    SelectObject(screen, old_font);
    ReleaseDC(nullptr, screen);
    settings.entry = MakeEdit(shared, kEditStyle, L"", panel, 106, 40, 141, 21, 8);
    settings.user = MakeEdit(shared, kEditStyle, L"", panel, 106, 67, 141, 21, 9);
    settings.password = MakeEdit(shared, kEditStyle, L"", panel, 106, 96, 141, 21, 10);
    settings.use_vpn = MakeChild(shared, L"BUTTON", 0, WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX,
                                 L"زمان اتصال VPN استفاده از ", panel, 106, 12, 143, 17, 11);
    MakeChild(shared, L"BUTTON", 0, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, L"Save", window, 214, 211, 75, 28,
              kSaveId);
    MakeChild(shared, L"BUTTON", 0, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, L"Cancel", window, 24, 211, 75, 28,
              kCancelId);
    settings.memo1 = MakeEdit(shared, kMemoStyle, kConnectionTemplate, window, 114, 177, 48, 43, 12);
    settings.memo2 = MakeEdit(shared, kMemoStyle, kConnectionTemplate, window, 166, 177, 48, 43, 13);
    settings.server = MakeEdit(shared, kEditStyle, L"", window, 130, 42, 141, 21, 14);
    return settings;
}

void RestoreSettings(const SettingsWindows& settings, const std::wstring& path) {
    wchar_t full_path[MAX_PATH];
    GetFullPathNameW(path.c_str(), MAX_PATH, full_path, nullptr);
    const std::optional<std::vector<char>> file = ReadWholeFilePlainly(full_path);
    if (!file) return;
    if (const auto checked = StoredValue(*file, "CheckBox2", "Checked"))
        SendMessageW(settings.use_vpn, BM_SETCHECK,
                     lstrcmpiW(checked->c_str(), L"True") == 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    const std::pair<const char*, HWND> edits[] = {{"Edit1", settings.wifi},
                                                  {"Edit2", settings.entry},
                                                  {"Edit3", settings.user},
                                                  {"Edit4", settings.password},
                                                  {"Edit5", settings.server}};
    for (const auto& [object, edit] : edits)
        if (const auto text = StoredValue(*file, object, "Text")) SetWindowTextW(edit, text->c_str());
}

void ReadSettingsForSave(const SettingsWindows& settings) {
    TextOf(settings.memo2);
    TextOf(settings.server);
    TextOf(settings.memo1);
    TextOf(settings.memo1);
    SendMessageW(settings.use_vpn, BM_GETCHECK, 0, 0);
    for (HWND edit : {settings.wifi, settings.entry, settings.user, settings.password, settings.server}) TextOf(edit);
}
