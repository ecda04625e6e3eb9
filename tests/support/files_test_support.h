#pragma once
// Test helpers for anything that touches files: a private folder, plain file access and the current directory.
#include "platform/file_handle.h"

#include <windows.h>
#include <algorithm>
#include <atomic>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

inline std::vector<std::uint8_t> FilesBytes(std::string_view text) { return {text.begin(), text.end()}; }

// Written and read with plain calls, independent of the code under test.
inline void FilesPut(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    FileHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) throw std::runtime_error("cannot create a test file");
    DWORD written = 0;
    if (!bytes.empty() && (!WriteFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
                           written != bytes.size()))
        throw std::runtime_error("cannot write a test file");
}

inline std::vector<std::uint8_t> FilesGet(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) throw std::runtime_error("cannot open a test file");
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[4096];
    DWORD read = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr) && read != 0)
        bytes.insert(bytes.end(), chunk, chunk + read);
    return bytes;
}

inline std::wstring FilesEnvironment(const wchar_t* name) {
    wchar_t value[MAX_PATH * 2];
    const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH * 2);
    return length == 0 || length >= MAX_PATH * 2 ? std::wstring() : std::wstring(value, length);
}

inline std::wstring FilesTempPath() {
    wchar_t path[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, path);
    return std::wstring(path, length);
}

// The names in a folder, sorted, without "." and "..".
inline std::vector<std::wstring> FilesNamesIn(const std::wstring& folder) {
    struct SearchCloser {
        void operator()(HANDLE search) const { FindClose(search); }
    };
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW entry;
    const HANDLE first = FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (first == INVALID_HANDLE_VALUE) return names;
    const std::unique_ptr<void, SearchCloser> search(first);
    do {
        const std::wstring name = entry.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search.get(), &entry));
    std::sort(names.begin(), names.end());
    return names;
}

// A fresh folder (under the temp folder unless another parent is given), emptied and removed at the end.
class FilesTempFolder {
public:
    explicit FilesTempFolder(std::wstring parent = FilesTempPath()) {
        static std::atomic<unsigned> counter{0};
        if (!parent.empty() && parent.back() != L'\\' && parent.back() != L'/') parent += L'\\';
        for (;;) {
            path_ =
                parent + L"kavlo_test_" + std::to_wstring(GetCurrentProcessId()) + L"_" + std::to_wstring(counter++);
            if (CreateDirectoryW(path_.c_str(), nullptr)) break;
            if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot create a test folder");
        }
    }
    FilesTempFolder(const FilesTempFolder&) = delete;
    FilesTempFolder& operator=(const FilesTempFolder&) = delete;
    ~FilesTempFolder() {
        for (const auto& name : Names()) {
            const std::wstring path = Path(name);
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(path.c_str());
        }
        RemoveDirectoryW(path_.c_str());
    }

    const std::wstring& path() const { return path_; }
    std::wstring Path(const std::wstring& name) const { return path_ + L"\\" + name; }
    std::vector<std::wstring> Names() const { return FilesNamesIn(path_); }

private:
    std::wstring path_;
};

// Makes a folder the current directory for a while.
class FilesCurrentDirectory {
public:
    explicit FilesCurrentDirectory(const std::wstring& folder) {
        wchar_t previous[MAX_PATH + 1];
        previous_.assign(previous, GetCurrentDirectoryW(MAX_PATH + 1, previous));
        if (!SetCurrentDirectoryW(folder.c_str())) throw std::runtime_error("cannot change the current directory");
    }
    FilesCurrentDirectory(const FilesCurrentDirectory&) = delete;
    FilesCurrentDirectory& operator=(const FilesCurrentDirectory&) = delete;
    ~FilesCurrentDirectory() { SetCurrentDirectoryW(previous_.c_str()); }

private:
    std::wstring previous_;
};
