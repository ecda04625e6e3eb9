#pragma once
// One run of a measured program: started as a process in a folder of the benchmark's, timed until its main
// window is shown and the program idle, then closed as the user would close it.
#include "platform/file_handle.h"

#include <windows.h>
#include <filesystem>
#include <stdexcept>
#include <string>

struct MemoryFigures {
    double working_set = 0;    // bytes
    double private_bytes = 0;  // bytes committed for the process alone
};

class ProgramRun {
public:
    // Starts the program and waits until a top-level window of its own of `window_class` is visible, then until it
    // is idle (WaitForInputIdle). Throws std::runtime_error when that does not happen within 30 s.
    ProgramRun(const std::filesystem::path& program, const std::wstring& arguments, const std::filesystem::path& folder,
               const wchar_t* window_class);
    // Closes the main window and waits for the process to end; one that does not end is terminated.
    ~ProgramRun();
    ProgramRun(const ProgramRun&) = delete;
    ProgramRun& operator=(const ProgramRun&) = delete;

    // From the start until the main window was first seen visible.
    double MillisecondsToVisible() const { return milliseconds_to_visible_; }
    // From the start until the program, its main window shown, was idle.
    double MillisecondsToShown() const { return milliseconds_to_shown_; }
    HWND MainWindow() const { return main_window_; }
    HANDLE Process() const { return process_.get(); }
    DWORD Id() const { return id_; }
    MemoryFigures Memory() const;
    // A top-level window of the process with that class and caption, hidden ones too; nullptr when none.
    HWND FindTopLevel(const wchar_t* class_name, const std::wstring& caption) const;
    // Waits until the program has handled everything sent and posted to it so far.
    void WaitUntilIdle() const;

private:
    FileHandle process_;
    DWORD id_ = 0;
    HWND main_window_ = nullptr;
    double milliseconds_to_visible_ = 0;
    double milliseconds_to_shown_ = 0;
};

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to);
LARGE_INTEGER Now();
// BM_CLICK sent to another process's button; returns how long it took to be handled.
double TimedClick(HWND button);

// Polls `done` every millisecond until it holds; throws std::runtime_error with `what` after `timeout_ms`.
template <typename Done>
void WaitUntil(Done done, const char* what, DWORD timeout_ms = 30000) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    while (!done()) {
        if (GetTickCount64() > deadline) throw std::runtime_error(std::string("timed out waiting for ") + what);
        Sleep(1);
    }
}
