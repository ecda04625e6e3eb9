#pragma once
// Starts a program for a test. Under load, Wine now and then loses a new process before any of the program's own code
// runs, and CreateProcessW fails with ERROR_INTERNAL_ERROR; nothing of the program was tried, so it is started again.
// Any other failure is returned at once.
#include <windows.h>
#include <string>

inline bool StartProcess(const std::wstring& program, std::wstring command_line, DWORD flags, void* environment,
                         const wchar_t* current_folder, PROCESS_INFORMATION& started) {
    constexpr int kAttempts = 3;
    for (int attempt = 1;; ++attempt) {
        STARTUPINFOW startup{};
        startup.cb = sizeof startup;
        // CreateProcessW may write into the command line, so each attempt gets its own copy.
        std::wstring writable = command_line;
        if (CreateProcessW(program.c_str(), writable.data(), nullptr, nullptr, FALSE, flags, environment,
                           current_folder, &startup, &started))
            return true;
        const DWORD error = GetLastError();
        if (error != ERROR_INTERNAL_ERROR || attempt == kAttempts) {
            SetLastError(error);
            return false;
        }
        Sleep(250);
    }
}
