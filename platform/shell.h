#pragma once
// The one way out to other programs: the shell's open entry for Kavlo.rdp and the console tools started as processes
// of their own. The program uses the real calls; tests put a recorder in their place.
#include "platform/file_handle.h"

#include <windows.h>

// A console tool as it was started: its process, and the read end of what it prints when that was asked for.
// Both empty when nothing real was started (a test's recorder).
struct StartedTool {
    FileHandle process;
    FileHandle output;
};

class Shell {
public:
    virtual ~Shell() = default;
    // ShellExecuteExW with the arguments as given and no error box of the shell's own: ERROR_SUCCESS, or the error
    // the shell met (file not found, no program registered, access denied...).
    virtual DWORD ExecuteW(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                           const wchar_t* directory, int show) = 0;
    // Starts `program` (a full path) as a process with no console window at all, its command line the one the
    // shell would build: the program's path in quotes, a blank, then `parameters`. It runs in its own folder (the
    // system folder), never in the program's current folder. With `read_output`, what it prints (standard output
    // and error) can be read from `output`. A tool that cannot be started: Failure.
    virtual StartedTool StartTool(const wchar_t* program, const wchar_t* parameters, bool read_output) = 0;
    // The same with an 8-bit command line in the ANSI code page, printing nowhere.
    virtual StartedTool StartToolA(const char* program, const char* parameters) = 0;
};

// The shell in force: the real one unless a test has put another in place.
Shell& CurrentShell();

// Puts `replacement` in place of the real shell (not owned); nullptr brings the real one back.
void SetShellForTests(Shell* replacement);
