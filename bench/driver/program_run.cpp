#include "program_run.h"

#include "tests/support/process_start.h"
#include "tests/support/window_search.h"

#include <psapi.h>
#include <stdexcept>

LARGE_INTEGER Now() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now;
}

double Milliseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(to.QuadPart - from.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double TimedClick(HWND button) {
    const LARGE_INTEGER pressed = Now();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, 30000, &result))
        throw std::runtime_error("a button did not answer its click");
    return Milliseconds(pressed, Now());
}

ProgramRun::ProgramRun(const std::filesystem::path& program, const std::wstring& arguments,
                       const std::filesystem::path& folder, const wchar_t* window_class) {
    std::wstring command_line = L"\"" + program.wstring() + L"\"" + (arguments.empty() ? L"" : L" " + arguments);
    PROCESS_INFORMATION info{};
    const LARGE_INTEGER started = Now();
    if (!StartProcess(program.wstring(), command_line, 0, nullptr, folder.c_str(), info))
        throw std::runtime_error("cannot start " + program.string() + ", error " + std::to_string(GetLastError()));
    CloseHandle(info.hThread);
    process_ = FileHandle(info.hProcess);
    id_ = info.dwProcessId;

    // First visible: polled from the start, without waiting for the program to be idle.
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindowsOf(id_))
                if (IsWindowVisible(window) && ClassOf(window) == window_class) main_window_ = window;
            return main_window_ != nullptr;
        },
        "the main window to show");
    milliseconds_to_visible_ = Milliseconds(started, Now());
    if (WaitForInputIdle(info.hProcess, 30000) != 0) throw std::runtime_error(program.string() + " never became idle");
    milliseconds_to_shown_ = Milliseconds(started, Now());
}

ProgramRun::~ProgramRun() {
    if (main_window_) PostMessageW(main_window_, WM_CLOSE, 0, 0);
    if (WaitForSingleObject(process_.get(), 10000) != WAIT_OBJECT_0) {
        TerminateProcess(process_.get(), 1);
        WaitForSingleObject(process_.get(), 5000);
    }
}

MemoryFigures ProgramRun::Memory() const {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(process_.get(), &counters, sizeof counters))
        throw std::runtime_error("cannot read the memory figures, error " + std::to_string(GetLastError()));
    // PagefileUsage is the commit charge: the private bytes.
    return {static_cast<double>(counters.WorkingSetSize), static_cast<double>(counters.PagefileUsage)};
}

HWND ProgramRun::FindTopLevel(const wchar_t* class_name, const std::wstring& caption) const {
    for (HWND window : TopLevelWindowsOf(id_))
        if (ClassOf(window) == class_name && CaptionOf(window) == caption) return window;
    return nullptr;
}

void ProgramRun::WaitUntilIdle() const {
    DWORD_PTR result = 0;
    SendMessageTimeoutW(main_window_, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &result);
    WaitForInputIdle(process_.get(), 30000);
}
