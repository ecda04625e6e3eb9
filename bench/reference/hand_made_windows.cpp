// The reference the benchmark measures Kavlo Connect's start-up, memory and "Save" against: the same windows
// made by hand with plain Win32 calls, in the program's order, and nothing else. No framework, no layout text,
// no style: what any program with this user interface must do.
//   OLE for the thread; the hidden application window; the launcher's windows; the settings dialog's windows,
//   hidden, with the values restored from setup_a.ini beside the exe; the launcher's "VPN" box set from the
//   dialog's; the launcher shown; the message loop with the dialog keys.
// The same manifest (common controls 6) and icon; the same Tahoma 8 pt, captions, places and sizes; the logo and
// the close glyph decoded from the program's own PNG files. The launcher's actions (Start, Wi-Fi, the VPN box)
// do nothing here: the benchmark never presses them.
// Started with /save, the dialog's "Save" writes the two files the program's "Save" writes, with the bytes it
// found in them at start, through the same safe writes as the program (safe_save.h).
#include "hand_made_controls.h"
#include "launcher_windows.h"
#include "safe_save.h"
#include "settings_file.h"
#include "settings_windows.h"

#include <windows.h>
#include <ole2.h>
#include <optional>
#include <string>
#include <vector>

namespace {

HandMadeShared shared;
LauncherWindows launcher;
SettingsWindows settings;
std::wstring settings_path;  // setup_a.ini beside the exe
std::vector<char> saved_rdp, saved_ini;
bool with_save = false;
bool dialog_open = false;
bool dialog_placed = false;

// Where the focus was when a form lost activation; the first tab stop on its first activation.
struct FormFocus {
    HWND saved = nullptr;
    bool activated_before = false;
} launcher_focus, dialog_focus;

void Activated(HWND form, WPARAM state) {
    FormFocus& focus = form == launcher.window ? launcher_focus : dialog_focus;
    if (LOWORD(state) == WA_INACTIVE) {
        HWND now = GetFocus();
        if (now && IsChild(form, now)) focus.saved = now;
    } else if (!focus.activated_before || !focus.saved || !IsWindow(focus.saved)) {
        focus.activated_before = true;
        if (HWND first = GetNextDlgTabItem(form, nullptr, FALSE)) SetFocus(first);
    } else {
        SetFocus(focus.saved);
    }
}

void Dispatch(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if ((root == launcher.window || root == settings.window) && IsDialogMessageW(root, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

// The dialog shown modally: the launcher disabled, centred on it the first time, a loop of its own until it closes.
void ShowSettingsModal() {
    HWND previously_active = GetActiveWindow();
    EnableWindow(launcher.window, FALSE);
    if (!dialog_placed) {
        dialog_placed = true;
        RECT main, own;
        GetWindowRect(launcher.window, &main);
        GetWindowRect(settings.window, &own);
        const int width = own.right - own.left, height = own.bottom - own.top;
        const int left = main.left + (main.right - main.left - width) / 2,
                  top = main.top + (main.bottom - main.top - height) / 2;
        const POINT place = PlacedInWorkArea({left, top, left + width, top + height});
        SetWindowPos(settings.window, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SetWindowLongPtrW(settings.window, GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(launcher.window));
    dialog_open = true;
    ShowWindow(settings.window, SW_SHOWNORMAL);
    SetActiveWindow(settings.window);
    MSG message;
    while (dialog_open) {
        const BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));  // the outer loop must see it too
            break;
        }
        if (got == -1) break;
        Dispatch(message);
    }
    dialog_open = false;
    EnableWindow(launcher.window, TRUE);
    ShowWindow(settings.window, SW_HIDE);
    if (previously_active && IsWindow(previously_active)) SetActiveWindow(previously_active);
}

// "Save": what the program reads from the dialog, the connection file, the settings file (read first, as the
// program's store reads what it replaces), then the dialog closes.
void Save() {
    ReadSettingsForSave(settings);
    if (with_save) {
        SaveSafely(L"Kavlo.rdp", saved_rdp);
        wchar_t full_path[MAX_PATH];
        GetFullPathNameW(settings_path.c_str(), MAX_PATH, full_path, nullptr);
        ReadWholeFilePlainly(full_path);
        SaveSafely(full_path, saved_ini);
    }
    dialog_open = false;
}

void Command(HWND form, WORD id, WORD code, bool from_control) {
    if (!from_control) {
        if (id == kSettingsCommand) ShowSettingsModal();
        if (id == kExitCommand) PostQuitMessage(0);
        return;
    }
    if (code != BN_CLICKED) return;
    if (form == settings.window && id == kSaveId) Save();
    if (form == settings.window && id == kCancelId) {
        RestoreSettings(settings, settings_path);
        dialog_open = false;
    }
    if (form == launcher.window && id == kCloseButtonId) PostQuitMessage(0);
}

LRESULT CALLBACK FormProcedure(HWND form, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND:
            Command(form, LOWORD(w), HIWORD(w), l != 0);
            return 0;  // IDOK and IDCANCEL from Enter and Esc press nothing
        case WM_DRAWITEM: {
            const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(l);
            if (item->CtlID != kLogoId) break;
            DrawLogo(launcher, *item);
            return TRUE;
        }
        case WM_ACTIVATE:
            Activated(form, w);
            return 0;
        case WM_CLOSE:
            if (form == launcher.window)
                PostQuitMessage(0);
            else
                dialog_open = false;
            return 0;
        case WM_QUERYENDSESSION:
            return TRUE;
    }
    return DefWindowProcW(form, message, w, l);
}

std::wstring ExecutableFolder() {
    wchar_t path[MAX_PATH] = {};
    const std::wstring full(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return full.substr(0, full.rfind(L'\\') + 1);
}

HWND MakeApplicationWindow(HINSTANCE instance, HICON large_icon, HICON small_icon) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = DefWindowProcW;
    window_class.hInstance = instance;
    window_class.hIcon = large_icon;
    window_class.hIconSm = small_icon;
    window_class.lpszClassName = L"HandMadeApplication";
    RegisterClassExW(&window_class);
    // Never shown: it owns message boxes and the shell's commands. The launcher owns the taskbar button.
    return CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, L"HandMadeApplication", L"",
                           WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX, 0, 0, 0, 0, nullptr,
                           nullptr, instance, nullptr);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR command_line, int) {
    OleInitialize(nullptr);
    settings_path = ExecutableFolder() + L"setup_a.ini";
    with_save = std::wstring(command_line).find(L"/save") != std::wstring::npos;
    if (with_save) {
        saved_rdp = ReadWholeFilePlainly(L"Kavlo.rdp").value_or(std::vector<char>());
        saved_ini = ReadWholeFilePlainly(settings_path).value_or(std::vector<char>());
    }

    auto icon = [&](int width_metric, int height_metric) {
        return static_cast<HICON>(LoadImageW(instance, L"MAINICON", IMAGE_ICON, GetSystemMetrics(width_metric),
                                             GetSystemMetrics(height_metric), LR_SHARED));
    };
    const HICON large_icon = icon(SM_CXICON, SM_CYICON), small_icon = icon(SM_CXSMICON, SM_CYSMICON);
    HWND application = MakeApplicationWindow(instance, large_icon, small_icon);
    RegisterHandMadeClasses(instance, FormProcedure, large_icon, small_icon);
    shared.instance = instance;
    shared.font = CreateFontW(-11, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Tahoma");

    launcher = MakeLauncherWindows(shared);
    settings = MakeSettingsWindows(shared);
    RestoreSettings(settings, settings_path);
    if (SendMessageW(settings.use_vpn, BM_GETCHECK, 0, 0) == BST_CHECKED)
        SendMessageW(launcher.vpn, BM_SETCHECK, BST_CHECKED, 0);
    ShowWindow(launcher.window, SW_SHOWNORMAL);
    UpdateWindow(launcher.window);

    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) Dispatch(message);

    DestroyWindow(settings.window);
    DestroyLauncherWindows(launcher);
    DestroyWindow(application);
    DeleteObject(shared.font);
    OleUninitialize();
    return 0;
}
