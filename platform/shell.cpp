#include "platform/shell.h"

#include "platform/failure.h"
#include "platform/files.h"
#include "platform/system_library.h"
#include "platform/text.h"

#include <shellapi.h>
#include <string>
#include <vector>

namespace {
Failure CannotStart(const std::wstring& program, DWORD code) {
    return Failure(L"Cannot start \"" + program + L"\". " + SystemErrorText(code));
}

// The standard handles the tool gets: nothing to read, and what it prints into `output_write` (or nowhere).
struct ToolHandles {
    FileHandle input;  // the null device
    FileHandle output_read;
    FileHandle output_write;
};

ToolHandles MakeToolHandles(bool read_output) {
    SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    ToolHandles handles;
    handles.input = FileHandle(
        CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0, nullptr));
    if (read_output) {
        HANDLE read = nullptr, write = nullptr;
        if (CreatePipe(&read, &write, &inheritable, 64 * 1024)) {
            handles.output_read = FileHandle(read);
            handles.output_write = FileHandle(write);
            SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);  // only the tool's end is passed on
        }
    } else {
        handles.output_write = FileHandle(CreateFileW(L"NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                                      &inheritable, OPEN_EXISTING, 0, nullptr));
    }
    return handles;
}

// Only the tool's own standard handles are passed on (PROC_THREAD_ATTRIBUTE_HANDLE_LIST), never whatever else the
// program happens to hold inheritable, such as the standard handles it was started with.
class InheritedHandles {
public:
    explicit InheritedHandles(std::vector<HANDLE> handles) : handles_(std::move(handles)) {
        SIZE_T size = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
        storage_.resize(size);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data());
        if (!InitializeProcThreadAttributeList(list, 1, 0, &size)) return;
        initialized_ = true;
        if (UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, handles_.data(),
                                      handles_.size() * sizeof(HANDLE), nullptr, nullptr))
            list_ = list;
    }
    ~InheritedHandles() {
        if (initialized_)
            DeleteProcThreadAttributeList(reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(storage_.data()));
    }
    InheritedHandles(const InheritedHandles&) = delete;
    InheritedHandles& operator=(const InheritedHandles&) = delete;
    // nullptr where the list could not be made: then the tool inherits as before.
    LPPROC_THREAD_ATTRIBUTE_LIST List() const { return list_; }

private:
    std::vector<HANDLE> handles_;  // must outlive the list
    std::vector<unsigned char> storage_;
    bool initialized_ = false;
    LPPROC_THREAD_ATTRIBUTE_LIST list_ = nullptr;
};

// CREATE_NO_WINDOW: a console tool gets a console of its own that is never shown. Handed to the shell with SW_HIDE,
// Windows 11 may show it in a Terminal window all the same when Terminal is the default console host.
template <typename Char, typename StartupInfoEx, typename Create>
FileHandle StartProcess(const std::basic_string<Char>& program, std::basic_string<Char> command_line,
                        ToolHandles& handles, Create create) {
    std::vector<HANDLE> passed{handles.input.get()};
    if (handles.output_write.get() != handles.input.get()) passed.push_back(handles.output_write.get());
    const InheritedHandles inherited(std::move(passed));
    StartupInfoEx startup{};
    startup.StartupInfo.cb = inherited.List() ? sizeof startup : sizeof startup.StartupInfo;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = handles.input.get();
    startup.StartupInfo.hStdOutput = handles.output_write.get();
    startup.StartupInfo.hStdError = handles.output_write.get();
    startup.lpAttributeList = inherited.List();
    const DWORD flags = CREATE_NO_WINDOW | (inherited.List() ? EXTENDED_STARTUPINFO_PRESENT : 0);
    PROCESS_INFORMATION process{};
    // The tool's own folder as its current folder: not Downloads or a network share the program was started from.
    const std::basic_string<Char> folder = program.substr(0, program.find_last_of(Char('\\')) + 1);
    const BOOL started = create(program.c_str(), command_line.data(), nullptr, nullptr, TRUE, flags, nullptr,
                                folder.empty() ? nullptr : folder.c_str(), &startup.StartupInfo, &process);
    const DWORD error = started ? ERROR_SUCCESS : GetLastError();
    handles.output_write.Close();  // the tool holds the only write end now: reading ends when it ends
    if (!started) {
        SetLastError(error);
        return FileHandle();
    }
    CloseHandle(process.hThread);
    return FileHandle(process.hProcess);
}

// The shell is needed only once "Start" opens Kavlo.rdp: loaded then, so start-up does not pay for it.
using ShellExecuteExWFunction = BOOL(WINAPI*)(SHELLEXECUTEINFOW*);

ShellExecuteExWFunction ShellExecuteExWEntry() {
    static const SystemLibrary shell32(L"shell32.dll");
    static const auto entry = shell32.Find<ShellExecuteExWFunction>("ShellExecuteExW");
    return entry;
}

class SystemShell final : public Shell {
public:
    DWORD ExecuteW(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                   const wchar_t* directory, int show) override {
        SHELLEXECUTEINFOW info{};
        info.cbSize = sizeof info;
        // The program says what went wrong in its own box.
        info.fMask = SEE_MASK_FLAG_NO_UI;
        info.hwnd = owner;
        info.lpVerb = verb;
        info.lpFile = file;
        info.lpParameters = parameters;
        info.lpDirectory = directory;
        info.nShow = show;
        const ShellExecuteExWFunction execute = ShellExecuteExWEntry();
        if (!execute) return ERROR_MOD_NOT_FOUND;
        if (execute(&info)) return ERROR_SUCCESS;
        const DWORD code = GetLastError();
        return code != ERROR_SUCCESS ? code : ERROR_NO_ASSOCIATION;
    }

    StartedTool StartTool(const wchar_t* program, const wchar_t* parameters, bool read_output) override {
        ToolHandles handles = MakeToolHandles(read_output);
        const std::wstring path = program;
        FileHandle process =
            StartProcess<wchar_t, STARTUPINFOEXW>(path, L"\"" + path + L"\" " + parameters, handles, CreateProcessW);
        if (!process) throw CannotStart(path, GetLastError());
        return {std::move(process), std::move(handles.output_read)};
    }

    StartedTool StartToolA(const char* program, const char* parameters) override {
        ToolHandles handles = MakeToolHandles(false);
        const std::string path = program;
        FileHandle process =
            StartProcess<char, STARTUPINFOEXA>(path, "\"" + path + "\" " + parameters, handles, CreateProcessA);
        if (!process) throw CannotStart(AnsiToWide(path), GetLastError());
        return {std::move(process), FileHandle()};
    }
};

SystemShell system_shell;
Shell* current_shell = &system_shell;
}  // namespace

Shell& CurrentShell() { return *current_shell; }

void SetShellForTests(Shell* replacement) { current_shell = replacement ? replacement : &system_shell; }
