#pragma once
// Runs the real Kavlo_Connect.exe as a process of its own, in a fresh folder beside the stand-in for the .rdp
// handler, with the stand-ins for rasdial and netsh in the system folder and look-alikes of them that must never
// run beside the exe, and drives its windows from outside with the messages that cross processes.
#include "tests/support/window_search.h"
#include "ui/window_classes.h"

#include <windows.h>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

inline constexpr const wchar_t* kFormClass = kFormClassName;
inline constexpr const wchar_t* kApplicationClass = kApplicationClassName;
inline constexpr wchar_t kLauncherCaption[] = L"ارتباط با شرکت";
inline constexpr wchar_t kSettingsCaption[] = L"تنظیمات اتصال";

inline constexpr std::chrono::milliseconds kPatience{15000};
inline constexpr std::chrono::milliseconds kPoll{50};

// Asks `found` again every kPoll until it gives something true, or the timeout has passed; gives its last answer.
template <typename Found>
auto WaitFor(std::chrono::milliseconds timeout, Found found) {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        auto result = found();
        if (result || std::chrono::steady_clock::now() >= deadline) return result;
        std::this_thread::sleep_for(kPoll);
    }
}

// One line of a stand-in's calls.log.
struct LoggedCall {
    std::wstring program;
    unsigned long long time = 0;  // ms since 1601 at which the stand-in was started
    std::wstring text;
};

// A new temporary folder holding Kavlo_Connect.exe, the .rdp handler and the look-alike rasdial.exe and
// netsh.exe; removed with its contents afterwards, checking that no look-alike ran. While it exists the
// stand-ins log into its calls.log (through KAVLO_CALLS_LOG, which the program passes on to them).
class Sandbox {
public:
    Sandbox();
    ~Sandbox();
    Sandbox(const Sandbox&) = delete;
    Sandbox& operator=(const Sandbox&) = delete;

    const std::filesystem::path& Folder() const { return folder_; }
    // The lines of calls.log in the order the stand-ins were started.
    std::vector<LoggedCall> Calls() const;
    // The same calls as a program that reads its command line as 8-bit text receives them, read back through the
    // ANSI code page.
    std::vector<LoggedCall> EightBitCalls() const;
    // The folders the stand-ins for the system's tools were started in, as their text, in the order they started.
    std::vector<LoggedCall> CurrentFolders() const;
    // The lines logged so far once there are at least `count`, or whatever there is after the timeout.
    std::vector<LoggedCall> WaitForCalls(std::size_t count, std::chrono::milliseconds timeout = kPatience) const;
    // Puts the look-alike rasdial.exe and netsh.exe into `folder` too.
    void PlantStrayTools(const std::filesystem::path& folder) const;
    // What look-alikes in `folder` wrote when they ran: empty unless one did.
    std::string StrayCalls(const std::filesystem::path& folder) const;

private:
    static std::vector<LoggedCall> ReadLog(const std::filesystem::path& path);
    std::filesystem::path folder_;
};

// ".rdp" files opened by `handler`. Written to HKLM\Software\Classes, the only place Wine's shell reads
// associations from, and removed again.
class RdpAssociation {
public:
    explicit RdpAssociation(const std::filesystem::path& handler);
    ~RdpAssociation();
    RdpAssociation(const RdpAssociation&) = delete;
    RdpAssociation& operator=(const RdpAssociation&) = delete;
};

// Whether the program runs with Wine's heap checking (WINEDEBUG=+heap), which validates the heap on every call and
// reports a corruption ("free block overwritten") on the process's standard error. It is slow and prints a great
// deal; tests/e2e/heap_checked.sh runs the tests that use it with that output captured into the file named by
// KAVLO_HEAP_LOG. Without that variable the program runs as usual and nothing is checked.
enum class HeapCheck { Off, On };

// Kavlo_Connect.exe started from the sandbox with the sandbox (or `current_folder`) as its current directory.
class ProgramProcess {
public:
    explicit ProgramProcess(const Sandbox& sandbox, const std::filesystem::path& current_folder = {},
                            HeapCheck heap_check = HeapCheck::Off);
    // A process still running here has failed to end: it is terminated so that the folder can go.
    ~ProgramProcess();
    ProgramProcess(const ProgramProcess&) = delete;
    ProgramProcess& operator=(const ProgramProcess&) = delete;

    DWORD Id() const { return id_; }
    // The process's top-level window of that class and caption (hidden ones too, unless `visible`); nullptr
    // after the timeout.
    HWND WaitForWindow(const wchar_t* class_name, const wchar_t* caption, bool visible,
                       std::chrono::milliseconds timeout = kPatience) const;
    // The process's top-level window of that class, whatever its caption.
    HWND FindWindowOfClass(const wchar_t* class_name) const;
    // The message boxes (#32770 windows) the process shows now.
    std::vector<HWND> MessageBoxes() const;
    // Opens the settings dialog from the launcher's menu ("FILE", then "تنظیمات سرور"), as the user does, and waits
    // until it shows; nullptr when it does not.
    HWND OpenSettings(HWND launcher) const;
    // Closes the shown settings dialog from its title bar, which keeps what was typed, and waits until it is hidden.
    bool CloseSettings(HWND settings) const;
    // Presses "Save" in the shown settings dialog and waits until the dialog is hidden, as it is once the settings
    // are saved; false when it stays (a refusal's box shows instead).
    bool SaveSettings(HWND settings) const;
    // The first message box the process shows, once it shows one; nullptr after the timeout.
    HWND WaitForMessageBox(std::chrono::milliseconds timeout = kPatience) const;
    // The exit code, or nothing while the process still runs after the timeout.
    std::optional<DWORD> WaitForExit(std::chrono::milliseconds timeout = kPatience) const;
    // With the heap check on and its output captured: the heap errors Wine reported since the program started,
    // a line each (the standard error is shared, so a program started meanwhile would add its own). Empty otherwise.
    std::string HeapErrors() const;

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    std::filesystem::path heap_log_;
    std::uintmax_t heap_log_start_ = 0;
};

// Whether heap-checked runs have their standard error captured (KAVLO_HEAP_LOG is set).
bool HeapLogCaptured();

std::wstring TextOf(HWND window);                     // WM_GETTEXT
bool SetText(HWND window, const std::wstring& text);  // WM_SETTEXT
bool IsChecked(HWND button);                          // BM_GETCHECK
// BM_CLICK, waiting until the program has handled it.
bool Click(HWND button);
// BM_CLICK, posted: returns at once, so a box the click brings up can be seen while it shows.
bool Press(HWND button);
// The message text of a message box: its static control with the id 0xFFFF.
std::wstring MessageBoxText(HWND box);
