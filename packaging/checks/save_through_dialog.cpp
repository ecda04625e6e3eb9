// Saves settings through Kavlo Connect's own dialog, as a user does, for the package checks to compare the first
// install's files with: starts FOLDER\Kavlo_Connect.exe in FOLDER, opens the settings from the menu, types the
// values, ticks or clears the VPN box, presses "Save" and closes the program from its title bar.
//
//   save_through_dialog FOLDER WIFI SERVER USEVPN ENTRY USER PASSWORD      (USEVPN: 0 or 1)
//
// Exits 0 once "Save" has closed the dialog; otherwise 1, saying what went wrong.
#include "tests/support/window_search.h"
#include "ui/window_classes.h"

#include <windows.h>
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>

namespace {

constexpr wchar_t kLauncherCaption[] = L"ارتباط با شرکت";
constexpr wchar_t kSettingsCaption[] = L"تنظیمات اتصال";
constexpr wchar_t kUseVpnCaption[] = L"زمان اتصال VPN استفاده از ";
// FILE → تنظیمات سرور, the first command of the launcher's menu (menus cannot be read from another process).
constexpr WORD kSettingsCommand = 40000;

struct Stop {
    const char* what;
};

template <typename Found>
auto WaitFor(Found found) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        auto result = found();
        if (result || std::chrono::steady_clock::now() >= deadline) return result;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

HWND WindowOf(DWORD process, const wchar_t* caption) {
    for (HWND window : TopLevelWindowsOf(process))
        if (ClassOf(window) == kFormClassName && CaptionOf(window) == caption && IsWindowVisible(window)) return window;
    return nullptr;
}

void Require(bool done, const char* what) {
    if (!done) throw Stop{what};
}

void Type(HWND settings, const wchar_t* label, const wchar_t* text) {
    HWND edit = FindEditBeside(settings, label);
    DWORD_PTR result = 0;
    Require(
        edit && SendMessageTimeoutW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text), SMTO_NORMAL, 5000, &result),
        "a field of the settings dialog could not be typed into");
}

void Click(HWND button) {
    DWORD_PTR result = 0;
    Require(button && SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, 30000, &result),
            "a button of the settings dialog could not be clicked");
}

void SaveThroughDialog(DWORD process, wchar_t** values) {
    HWND launcher = WaitFor([&] { return WindowOf(process, kLauncherCaption); });
    Require(launcher, "the launcher did not show");
    PostMessageW(launcher, WM_COMMAND, MAKEWPARAM(kSettingsCommand, 0), 0);
    HWND settings = WaitFor([&] { return WindowOf(process, kSettingsCaption); });
    Require(settings, "the settings dialog did not open");
    Type(settings, L"نام شبکه WIFI", values[0]);
    Type(settings, L"Server IP:", values[1]);
    HWND use_vpn = FindDescendant(settings, L"Button", kUseVpnCaption);
    Require(use_vpn, "the VPN box was not found");
    const bool checked = SendMessageW(use_vpn, BM_GETCHECK, 0, 0) == BST_CHECKED;
    if (checked != (std::wstring(values[2]) == L"1")) Click(use_vpn);
    Type(settings, L"نام اتصال VPN", values[3]);
    Type(settings, L"VPN User:", values[4]);
    Type(settings, L"VPN password:", values[5]);
    Click(FindDescendant(settings, L"Button", L"Save"));
    Require(WaitFor([&] { return !IsWindowVisible(settings); }), "\"Save\" left the dialog open (a failure box?)");
    PostMessageW(launcher, WM_SYSCOMMAND, SC_CLOSE, 0);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {  // NOLINT(readability-identifier-naming): the runtime calls it so
    if (argc != 8) {
        std::fputs("usage: save_through_dialog FOLDER WIFI SERVER USEVPN ENTRY USER PASSWORD\n", stderr);
        return 2;
    }
    const std::wstring folder = argv[1];
    std::wstring program = folder + L"\\Kavlo_Connect.exe";
    std::wstring command_line = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(program.c_str(), command_line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                        &startup, &info)) {
        std::fprintf(stderr, "save_through_dialog: cannot start the program, error %lu\n", GetLastError());
        return 1;
    }
    CloseHandle(info.hThread);
    int status = 0;
    try {
        SaveThroughDialog(info.dwProcessId, argv + 2);
    } catch (const Stop& stop) {
        std::fprintf(stderr, "save_through_dialog: %s\n", stop.what);
        status = 1;
    }
    if (WaitForSingleObject(info.hProcess, 15000) != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, 1);
        WaitForSingleObject(info.hProcess, 5000);
    }
    CloseHandle(info.hProcess);
    return status;
}
