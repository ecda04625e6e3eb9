#pragma once
// The one way out to other programs: the shell's open entries and the pause between commands.
// The program uses the real calls; tests put a recorder in their place.
#include "platform/file_handle.h"

#include <windows.h>

class Shell {
public:
    virtual ~Shell() = default;
    // ShellExecuteW and ShellExecuteA with the arguments as given; nobody looks at what the shell returns.
    virtual void ExecuteW(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                          const wchar_t* directory, int show) = 0;
    virtual void ExecuteA(HWND owner, const char* verb, const char* file, const char* parameters,
                          const char* directory, int show) = 0;
    // ShellExecuteExW with the same hand-over as ExecuteW, asking for the started process (SEE_MASK_NOCLOSEPROCESS):
    // its handle, or an empty one when the shell started no process of its own. A shell that starts nothing real
    // (a test's recorder) hands over as ExecuteW and gives no handle.
    virtual FileHandle ExecuteExW(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                                  const wchar_t* directory, int show) {
        ExecuteW(owner, verb, file, parameters, directory, show);
        return FileHandle();
    }
    virtual void Pause(DWORD milliseconds) = 0;
};

// The shell in force: the real one unless a test has put another in place.
Shell& CurrentShell();

// Puts `replacement` in place of the real shell (not owned); nullptr brings the real one back.
void SetShellForTests(Shell* replacement);
