#include "call_log.h"

#include <windows.h>
#include <cwchar>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <shellapi.h>
#include <string>

namespace {
unsigned long long Milliseconds(const FILETIME& time) {
    return ((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 10000;
}

unsigned long long ProcessCreationTime() {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user) && Milliseconds(created) != 0)
        return Milliseconds(created);
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    return Milliseconds(now);
}

std::wstring OwnFolder() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path.substr(0, path.find_last_of(L'\\') + 1);
}

std::string Utf8(const std::wstring& text) {
    if (text.empty()) return {};
    const int length = static_cast<int>(text.size());
    int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), length, bytes.data(), size, nullptr, nullptr);
    return bytes;
}
}  // namespace

namespace {
std::wstring OwnPath() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

std::wstring CallsLogPath() {
    wchar_t path[32768];
    const DWORD length = GetEnvironmentVariableW(L"KAVLO_CALLS_LOG", path, 32768);
    return length != 0 && length < 32768 ? std::wstring(path, length) : OwnFolder() + L"calls.log";
}

void AppendLine(const std::wstring& path, const wchar_t* name, const std::wstring& text) {
    std::string line = Utf8(name) + '\t' + std::to_string(ProcessCreationTime()) + '\t' + Utf8(text) + '\n';
    // Another stand-in may be appending at the same moment: wait for the file rather than lose the line.
    for (int attempt = 0; attempt < 200; ++attempt) {
        HANDLE file = CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file != INVALID_HANDLE_VALUE) {
            DWORD written = 0;
            WriteFile(file, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
            CloseHandle(file);
            return;
        }
        Sleep(25);
    }
}
}  // namespace

void LogCall(const wchar_t* name, const std::wstring& text) { AppendLine(CallsLogPath(), name, text); }

void LogCurrentFolder(const wchar_t* name) {
    const std::wstring calls = CallsLogPath();
    wchar_t folder[32768];
    const DWORD length = GetCurrentDirectoryW(32768, folder);
    AppendLine(calls.substr(0, calls.find_last_of(L'\\') + 1) + L"folders.log", name,
               length != 0 && length < 32768 ? std::wstring(folder, length) : std::wstring());
}

void LogStray(const std::wstring& text) { AppendLine(OwnFolder() + L"strays.log", OwnPath().c_str(), text); }

namespace {
// The program name ends at its closing quote when quoted, otherwise at the first blank.
template <typename Char>
const Char* AfterProgramName(const Char* p) {
    if (*p == '"') {
        ++p;
        while (*p && *p != '"') ++p;
        if (*p) ++p;
    } else {
        while (*p && *p != ' ' && *p != '\t') ++p;
    }
    while (*p == ' ' || *p == '\t') ++p;
    return p;
}
}  // namespace

std::wstring ArgumentsAsReceived() { return AfterProgramName(GetCommandLineW()); }

void LogEightBitCall(const wchar_t* name) {
    const std::string bytes = AfterProgramName(GetCommandLineA());
    std::wstring text(bytes.size(), L'\0');
    if (!bytes.empty()) {
        text.resize(static_cast<std::size_t>(MultiByteToWideChar(
            CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), text.data(), static_cast<int>(text.size()))));
    }
    const std::wstring calls = CallsLogPath();
    AppendLine(calls.substr(0, calls.find_last_of(L'\\') + 1) + L"calls_8bit.log", name, text);
}

std::wstring FirstArgument() {
    int count = 0;
    LPWSTR* arguments = CommandLineToArgvW(GetCommandLineW(), &count);
    std::wstring first = arguments && count > 1 ? arguments[1] : L"";
    LocalFree(arguments);
    return first;
}

std::size_t EarlierCalls(const wchar_t* name) {
    std::ifstream file(std::filesystem::path(CallsLogPath()), std::ios::binary);
    const std::string log((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const std::string prefix = Utf8(name) + '\t';
    std::size_t count = 0;
    for (std::size_t start = 0; start < log.size();) {
        if (log.compare(start, prefix.size(), prefix) == 0) ++count;
        const std::size_t end = log.find('\n', start);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return count;
}

unsigned long NumberFromEnvironment(const wchar_t* variable, std::size_t index) {
    wchar_t value[256] = {};
    const DWORD length = GetEnvironmentVariableW(variable, value, 256);
    if (length == 0 || length >= 256) return 0;
    const wchar_t* number = value;
    for (std::size_t i = 0; i < index; ++i) {
        const wchar_t* comma = std::wcschr(number, L',');
        if (!comma) break;
        number = comma + 1;
    }
    return std::wcstoul(number, nullptr, 10);
}
