#include "platform/shell.h"

#include <shellapi.h>

namespace {
class SystemShell final : public Shell {
public:
    void ExecuteW(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                  const wchar_t* directory, int show) override {
        ShellExecuteW(owner, verb, file, parameters, directory, show);
    }
    void ExecuteA(HWND owner, const char* verb, const char* file, const char* parameters, const char* directory,
                  int show) override {
        ShellExecuteA(owner, verb, file, parameters, directory, show);
    }
    FileHandle ExecuteExW(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                          const wchar_t* directory, int show) override {
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        // ShellExecuteW reports a failure only through what it returns; the same quiet is asked for here.
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        info.hwnd = owner;
        info.lpVerb = verb;
        info.lpFile = file;
        info.lpParameters = parameters;
        info.lpDirectory = directory;
        info.nShow = show;
        if (!ShellExecuteExW(&info)) return FileHandle();
        return FileHandle(info.hProcess);
    }
    void Pause(DWORD milliseconds) override { Sleep(milliseconds); }
};

SystemShell system_shell;
Shell* current_shell = &system_shell;
}  // namespace

Shell& CurrentShell() { return *current_shell; }

void SetShellForTests(Shell* replacement) { current_shell = replacement ? replacement : &system_shell; }
