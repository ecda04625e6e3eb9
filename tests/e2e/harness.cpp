#include "harness.h"

#include "platform/text.h"
#include "tests/support/file_bytes.h"
#include "tests/support/process_start.h"
#include "tests/support/wine_rig.h"

#include <algorithm>
#include <atomic>
#include <fstream>
#include <sstream>
#include <thread>

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
const wchar_t* const kCopiedPrograms[] = {L"Kavlo_Connect.exe", L"rdp_handler.exe"};
const wchar_t* const kSystemTools[] = {L"rasdial.exe", L"netsh.exe"};
const wchar_t kRdpProgId[] = L"Kavlo.RdpFile";
const wchar_t kExtensionKey[] = L"Software\\Classes\\.rdp";
const wchar_t kProgIdKey[] = L"Software\\Classes\\Kavlo.RdpFile";
const wchar_t kCommandKey[] = L"Software\\Classes\\Kavlo.RdpFile\\shell\\open\\command";

// The test program's own folder, where the build puts the program and the stand-ins too.
fs::path BuildOutputFolder() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return fs::path(path).parent_path();
}

fs::path NewTemporaryFolder() {
    static std::atomic<int> counter{0};
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    for (;;) {
        fs::path folder = fs::path(temp) / (L"kavlo-e2e-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                            std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(counter++));
        if (CreateDirectoryW(folder.c_str(), nullptr)) return folder;
        if (GetLastError() != ERROR_ALREADY_EXISTS) {
            ADD_FAILURE() << "cannot make a temporary folder, error " << GetLastError();
            return folder;
        }
    }
}

void SetDefaultValue(const wchar_t* key_path, const std::wstring& value) {
    HKEY key = nullptr;
    LSTATUS status =
        RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr);
    if (status != ERROR_SUCCESS) {
        ADD_FAILURE() << "cannot create HKLM\\" << WideToUtf8(key_path) << ", error " << status;
        return;
    }
    status = RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                            static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    if (status != ERROR_SUCCESS) ADD_FAILURE() << "cannot set HKLM\\" << WideToUtf8(key_path) << ", error " << status;
    RegCloseKey(key);
}

void CopyProgram(const fs::path& from, const fs::path& to) {
    if (!CopyFileW(from.c_str(), to.c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << from.string() << " to " << to.string() << ", error " << GetLastError();
}

fs::path SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

// Where the heap-checked runs' standard error goes, as tests/e2e/heap_checked.sh says; empty when it is not captured.
fs::path HeapLogPath() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = GetEnvironmentVariableW(L"KAVLO_HEAP_LOG", path, MAX_PATH);
    return length > 0 && length < MAX_PATH ? fs::path(path) : fs::path();
}

// Wine's heap reports (err:heap), and a fault the corruption led to, which Wine reports on the same stream.
bool IsHeapError(const std::string& line) {
    return line.find(":err:heap:") != std::string::npos || line.find("Unhandled page fault") != std::string::npos ||
           line.find("Unhandled exception") != std::string::npos;
}

// This process's environment with `name` set to `value`, as CreateProcessW takes it.
std::vector<wchar_t> EnvironmentWith(const std::wstring& name, const std::wstring& value) {
    std::vector<wchar_t> block;
    const std::wstring prefix = name + L"=";
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* entry = strings; *entry; entry += wcslen(entry) + 1) {
        if (_wcsnicmp(entry, prefix.c_str(), prefix.size()) == 0) continue;
        block.insert(block.end(), entry, entry + wcslen(entry) + 1);
    }
    FreeEnvironmentStringsW(strings);
    const std::wstring added = prefix + value;
    block.insert(block.end(), added.begin(), added.end());
    block.push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

// The stand-ins for rasdial and netsh take the place of the system's own in the test prefix (Wine has no rasdial,
// and its netsh is a stub), once per run of the tests. A real Windows keeps its own: the tests that need the
// stand-ins skip there.
void InstallSystemStandIns() {
    if (!UnderWine()) return;
    static const bool installed = [] {
        for (const wchar_t* name : kSystemTools) CopyProgram(BuildOutputFolder() / name, SystemFolder() / name);
        return true;
    }();
    (void)installed;
}
}  // namespace

// --- sandbox

Sandbox::Sandbox() : folder_(NewTemporaryFolder()) {
    InstallSystemStandIns();
    fs::path from = BuildOutputFolder();
    for (const wchar_t* name : kCopiedPrograms) CopyProgram(from / name, folder_ / name);
    PlantStrayTools(folder_);
    // The stand-ins in the system folder log into this sandbox; the program passes its environment on to them.
    SetEnvironmentVariableW(L"KAVLO_CALLS_LOG", (folder_ / L"calls.log").c_str());
}

void Sandbox::PlantStrayTools(const fs::path& folder) const {
    for (const wchar_t* name : kSystemTools) CopyProgram(BuildOutputFolder() / L"stray_tool.exe", folder / name);
}

std::string Sandbox::StrayCalls(const fs::path& folder) const { return ReadBytes(folder / L"strays.log"); }

Sandbox::~Sandbox() {
    EXPECT_EQ(StrayCalls(folder_), "") << "a look-alike beside the program ran instead of the system's tool";
    SetEnvironmentVariableW(L"KAVLO_CALLS_LOG", nullptr);
    // A stand-in that has just logged may still be on its way out and hold its exe for a moment.
    for (int attempt = 0; attempt < 40; ++attempt) {
        std::error_code error;
        fs::remove_all(folder_, error);
        if (!error) return;
        std::this_thread::sleep_for(kPoll);
    }
}

std::vector<LoggedCall> Sandbox::Calls() const { return ReadLog(folder_ / L"calls.log"); }

std::vector<LoggedCall> Sandbox::EightBitCalls() const { return ReadLog(folder_ / L"calls_8bit.log"); }

std::vector<LoggedCall> Sandbox::CurrentFolders() const { return ReadLog(folder_ / L"folders.log"); }

std::vector<LoggedCall> Sandbox::ReadLog(const fs::path& path) {
    const std::string bytes = ReadBytes(path);
    std::vector<LoggedCall> calls;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        std::wstring line = Utf8ToWide(std::string_view(bytes).substr(start, end - start));
        std::size_t first_tab = line.find(L'\t');
        std::size_t second_tab = line.find(L'\t', first_tab + 1);
        if (first_tab == std::wstring::npos || second_tab == std::wstring::npos) {
            ADD_FAILURE() << "malformed line in " << path.filename().string() << ": " << WideToUtf8(line);
            continue;
        }
        calls.push_back({line.substr(0, first_tab), std::stoull(line.substr(first_tab + 1, second_tab - first_tab - 1)),
                         line.substr(second_tab + 1)});
    }
    // In the order the stand-ins were started, which is not always the order they got to write.
    std::stable_sort(calls.begin(), calls.end(),
                     [](const LoggedCall& a, const LoggedCall& b) { return a.time < b.time; });
    return calls;  // a line still being written has no line feed yet and is left for the next look
}

std::vector<LoggedCall> Sandbox::WaitForCalls(std::size_t count, std::chrono::milliseconds timeout) const {
    std::vector<LoggedCall> calls;
    WaitFor(timeout, [&] {
        calls = Calls();
        return calls.size() >= count;
    });
    return calls;
}

// --- association

RdpAssociation::RdpAssociation(const fs::path& handler) {
    SetDefaultValue(kExtensionKey, kRdpProgId);
    SetDefaultValue(kCommandKey, L"\"" + handler.wstring() + L"\" \"%1\"");
}

RdpAssociation::~RdpAssociation() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kProgIdKey);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kExtensionKey);
}

// --- the program's process

bool HeapLogCaptured() { return !HeapLogPath().empty(); }

ProgramProcess::ProgramProcess(const Sandbox& sandbox, const fs::path& current_folder, HeapCheck heap_check) {
    std::wstring program = (sandbox.Folder() / L"Kavlo_Connect.exe").wstring();
    std::wstring command_line = L"\"" + program + L"\"";
    PROCESS_INFORMATION info{};
    std::vector<wchar_t> environment;
    if (heap_check == HeapCheck::On && HeapLogCaptured()) {
        heap_log_ = HeapLogPath();
        std::error_code error;
        heap_log_start_ = fs::file_size(heap_log_, error);
        if (error) heap_log_start_ = 0;
        // Wine reads the new process's debug channels from the environment it is given.
        environment = EnvironmentWith(L"WINEDEBUG", L"+heap");
    }
    if (!StartProcess(program, command_line, CREATE_UNICODE_ENVIRONMENT,
                      environment.empty() ? nullptr : environment.data(),
                      (current_folder.empty() ? sandbox.Folder() : current_folder).c_str(), info)) {
        ADD_FAILURE() << "cannot start " << WideToUtf8(program) << ", error " << GetLastError();
        return;
    }
    CloseHandle(info.hThread);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
}

ProgramProcess::~ProgramProcess() {
    if (!process_) return;
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
        TerminateProcess(process_, 1);
        WaitForSingleObject(process_, 5000);
    }
    CloseHandle(process_);
}

HWND ProgramProcess::WaitForWindow(const wchar_t* class_name, const wchar_t* caption, bool visible,
                                   std::chrono::milliseconds timeout) const {
    return WaitFor(timeout, [&]() -> HWND {
        for (HWND window : TopLevelWindowsOf(id_))
            if (ClassOf(window) == class_name && CaptionOf(window) == caption && (!visible || IsWindowVisible(window)))
                return window;
        return nullptr;
    });
}

HWND ProgramProcess::OpenSettings(HWND launcher) const {
    // "تنظیمات سرور" is the first menu item the program makes. (Wine cannot read another process's menu, so the
    // number is not looked up.)
    constexpr WORD kSettingsCommand = 40000;
    if (!PostMessageW(launcher, WM_COMMAND, MAKEWPARAM(kSettingsCommand, 0), 0)) return nullptr;
    return WaitForWindow(kFormClass, kSettingsCaption, true);
}

bool ProgramProcess::CloseSettings(HWND settings) const {
    return PostMessageW(settings, WM_SYSCOMMAND, SC_CLOSE, 0) &&
           WaitFor(kPatience, [&] { return !IsWindowVisible(settings); });
}

bool ProgramProcess::SaveSettings(HWND settings) const {
    return Click(FindDescendant(settings, L"Button", L"Save")) &&
           WaitFor(kPatience, [&] { return !IsWindowVisible(settings); });
}

HWND ProgramProcess::FindWindowOfClass(const wchar_t* class_name) const {
    for (HWND window : TopLevelWindowsOf(id_))
        if (ClassOf(window) == class_name) return window;
    return nullptr;
}

std::vector<HWND> ProgramProcess::MessageBoxes() const {
    std::vector<HWND> boxes;
    for (HWND window : TopLevelWindowsOf(id_))
        if (ClassOf(window) == L"#32770" && IsWindowVisible(window)) boxes.push_back(window);
    return boxes;
}

HWND ProgramProcess::WaitForMessageBox(std::chrono::milliseconds timeout) const {
    return WaitFor(timeout, [&]() -> HWND {
        std::vector<HWND> boxes = MessageBoxes();
        return boxes.empty() ? nullptr : boxes.front();
    });
}

std::optional<DWORD> ProgramProcess::WaitForExit(std::chrono::milliseconds timeout) const {
    if (!process_ || WaitForSingleObject(process_, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0)
        return std::nullopt;
    DWORD code = 0;
    GetExitCodeProcess(process_, &code);
    return code;
}

std::string ProgramProcess::HeapErrors() const {
    if (heap_log_.empty()) return "";
    std::ifstream file(heap_log_, std::ios::binary);
    file.seekg(static_cast<std::streamoff>(heap_log_start_));
    std::string errors, line;
    while (std::getline(file, line))
        if (IsHeapError(line)) errors += line + "\n";
    return errors;
}

// --- windows

std::wstring TextOf(HWND window) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_NORMAL, 5000, &length)) return L"";
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()), SMTO_NORMAL, 5000,
                        &copied);
    text.resize(copied);
    return text;
}

bool SetText(HWND window, const std::wstring& text) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(window, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), SMTO_NORMAL, 5000,
                               &result) &&
           result == TRUE;
}

bool IsChecked(HWND button) {
    DWORD_PTR state = 0;
    return SendMessageTimeoutW(button, BM_GETCHECK, 0, 0, SMTO_NORMAL, 5000, &state) && state == BST_CHECKED;
}

bool Click(HWND button) {
    DWORD_PTR result = 0;
    return SendMessageTimeoutW(button, BM_CLICK, 0, 0, SMTO_NORMAL, static_cast<UINT>(kPatience.count()), &result) != 0;
}

bool Press(HWND button) { return PostMessageW(button, BM_CLICK, 0, 0) != 0; }

std::wstring MessageBoxText(HWND box) {
    HWND text = GetDlgItem(box, 0xFFFF);
    return text ? TextOf(text) : L"";
}
