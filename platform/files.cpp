#include "platform/files.h"

#include "platform/blank_text.h"
#include "platform/failure.h"
#include "platform/file_handle.h"

#include <algorithm>
#include <cwchar>
#include <functional>
#include <memory>
#include <objbase.h>

namespace {

std::optional<std::size_t> write_limit_for_tests;
std::function<std::wstring()> name_parts_for_tests;

struct LocalFreer {
    void operator()(wchar_t* text) const noexcept { LocalFree(text); }
};

Failure CannotCreate(const std::wstring& full_path, DWORD code) {
    return Failure(L"Cannot create file \"" + full_path + L"\". " + SystemErrorText(code));
}

Failure CannotOpen(const std::wstring& full_path, DWORD code) {
    return Failure(L"Cannot open file \"" + full_path + L"\". " + SystemErrorText(code));
}

Failure TooLarge(const std::wstring& full_path, std::size_t largest) {
    return Failure(L"Cannot open file \"" + full_path + L"\". It is larger than " + std::to_wstring(largest / 1024) +
                   L" KB, too large to be read");
}

// Virus scanners, the search indexer and folder-sync clients open a file for a moment, typically one just
// written: an attempt that meets a sharing violation, a locked range or "access denied" is made again after
// growing pauses, about a second in all, before the error counts. `attempt` returns ERROR_SUCCESS or the error it
// met.
template <typename Attempt>
DWORD RetriedWhileBrieflyLocked(Attempt attempt) {
    static constexpr DWORD kPauses[] = {10, 20, 40, 80, 160, 320, 370};
    for (DWORD pause : kPauses) {
        const DWORD code = attempt();
        // ReplaceFileW says a held old file "could not be removed".
        if (code != ERROR_SHARING_VIOLATION && code != ERROR_LOCK_VIOLATION && code != ERROR_ACCESS_DENIED &&
            code != ERROR_UNABLE_TO_REMOVE_REPLACED)
            return code;
        Sleep(pause);
    }
    return attempt();
}

// Deletes the temporary or backup file unless it was moved into place or must stay. A backup holds the old bytes
// (an old password, perhaps): a brief lock on it is waited out, as in the other steps.
class TemporaryFile {
public:
    TemporaryFile() = default;
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;
    ~TemporaryFile() {
        if (path_.empty()) return;
        RetriedWhileBrieflyLocked([this]() -> DWORD { return DeleteFileW(path_.c_str()) ? 0 : GetLastError(); });
    }
    const std::wstring& path() const noexcept { return path_; }
    void Own(std::wstring path) noexcept { path_ = std::move(path); }
    void Release() noexcept { path_.clear(); }

private:
    std::wstring path_;
};

std::wstring FolderOf(const std::wstring& full_path) {
    const auto slash = full_path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? std::wstring() : full_path.substr(0, slash + 1);
}

// A name part that another program cannot guess ahead, as it could a process id: a random GUID's hex digits.
std::wstring RandomNamePart(const std::wstring& named) {
    if (name_parts_for_tests) return name_parts_for_tests();
    GUID guid{};
    if (const HRESULT made = CoCreateGuid(&guid); FAILED(made)) throw CannotCreate(named, HRESULT_CODE(made));
    wchar_t text[33] = {};
    std::swprintf(text, 33, L"%08lx%04hx%04hx%02x%02x%02x%02x%02x%02x%02x%02x", guid.Data1, guid.Data2, guid.Data3,
                  guid.Data4[0], guid.Data4[1], guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5],
                  guid.Data4[6], guid.Data4[7]);
    return text;
}

// A name beside the target for the new bytes or the old ones; failures name `named`.
std::wstring TemporaryNameIn(const std::wstring& folder, const std::wstring& named) {
    return folder + L"~kavlo-" + RandomNamePart(named) + L".tmp";
}

// Names are drawn until one is free: a folder where so many are taken is not one to write into.
constexpr int kNameAttempts = 100;

// Refuses, as creating the file over the old one would: Windows will not truncate a read-only, hidden or
// system file, nor one another program holds open without sharing. Wine allows all of these, so they are checked here.
// The attributes are final at once; only the open is retried, since a lock may be brief. Failures name `named`.
void CheckTargetReplaceable(const std::wstring& target, const std::wstring& named) {
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    if (attributes &
        (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM))
        throw CannotCreate(named, ERROR_ACCESS_DENIED);
    const DWORD code = RetriedWhileBrieflyLocked([&]() -> DWORD {
        FileHandle probe(CreateFileW(target.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
        return probe ? ERROR_SUCCESS : GetLastError();
    });
    if (code != ERROR_SUCCESS && code != ERROR_FILE_NOT_FOUND && code != ERROR_PATH_NOT_FOUND)
        throw CannotCreate(named, code);
}

// Where the file's bytes really are: through a symbolic link the target's path, so that the link stays a link and
// its target gets the new bytes. The path itself where nothing is there yet.
std::wstring FinalPathOf(const std::wstring& full_path) {
    FileHandle file(CreateFileW(full_path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file) return full_path;
    std::wstring final_path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFinalPathNameByHandleW(file.get(), final_path.data(),
                                                       static_cast<DWORD>(final_path.size()), VOLUME_NAME_DOS);
        if (length == 0) return full_path;
        if (length < final_path.size()) {
            final_path.resize(length);
            return final_path;
        }
        final_path.resize(length);
    }
}

// Made new, never opened where something is already there: through a link planted under the name, CREATE_NEW alone
// would create the link's target wherever it points.
FileHandle CreateTemporaryFile(const std::wstring& folder, const std::wstring& named, TemporaryFile& temporary) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::wstring name = TemporaryNameIn(folder, named);
        FileHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
        if (file) {
            temporary.Own(std::move(name));
            return file;
        }
        const DWORD code = GetLastError();
        if (code != ERROR_FILE_EXISTS && code != ERROR_ALREADY_EXISTS) throw CannotCreate(named, code);
    }
    throw CannotCreate(named, ERROR_FILE_EXISTS);
}

// A free name for the old file's backup: one taken already belongs to someone else, and would be overwritten.
std::wstring FreeBackupNameIn(const std::wstring& folder, const std::wstring& named) {
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        std::wstring name = TemporaryNameIn(folder, named);
        if (GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES && GetLastError() == ERROR_FILE_NOT_FOUND)
            return name;
    }
    throw CannotCreate(named, ERROR_FILE_EXISTS);
}

// Puts the new file in the old one's place the way Windows provides for it, so the file keeps what the old one had
// besides its bytes: permissions, encryption, compression, alternate streams. The old file passes through a backup
// name, so that whatever fails, its bytes stay: under their own name, or put back there from the backup.
DWORD ReplaceExistingFile(const std::wstring& target, const std::wstring& replacement, const std::wstring& named) {
    TemporaryFile backup;
    backup.Own(FreeBackupNameIn(FolderOf(target), named));
    if (ReplaceFileW(target.c_str(), replacement.c_str(), backup.path().c_str(), REPLACEFILE_IGNORE_MERGE_ERRORS,
                     nullptr, nullptr))
        return ERROR_SUCCESS;
    const DWORD code = GetLastError();
    // The old file already went to the backup name, and the new one did not take its place.
    if (code == ERROR_UNABLE_TO_MOVE_REPLACEMENT_2 && GetFileAttributesW(target.c_str()) == INVALID_FILE_ATTRIBUTES &&
        !MoveFileExW(backup.path().c_str(), target.c_str(), MOVEFILE_WRITE_THROUGH)) {
        backup.Release();  // the old bytes are there alone now: never delete them
    }
    return code;
}

bool WriteSome(HANDLE file, const std::uint8_t* data, DWORD size, std::size_t written_before, DWORD& written) {
    if (write_limit_for_tests) {
        const std::size_t room = *write_limit_for_tests > written_before ? *write_limit_for_tests - written_before : 0;
        if (room == 0) {
            SetLastError(ERROR_DISK_FULL);
            written = 0;
            return false;
        }
        size = static_cast<DWORD>(std::min<std::size_t>(size, room));
    }
    return WriteFile(file, data, size, &written, nullptr) != FALSE;
}

void WriteAll(HANDLE file, const std::vector<std::uint8_t>& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 20));
        DWORD written = 0;
        if (!WriteSome(file, bytes.data() + done, chunk, done, written) || written == 0)
            throw Failure(L"Stream write error");
        done += written;
    }
}

}  // namespace

std::wstring FullPathOf(const std::wstring& name) {
    std::wstring full(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetFullPathNameW(name.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (length == 0) return name;
        if (length < full.size()) {
            full.resize(length);
            return full;
        }
        full.resize(length);
    }
}

std::wstring SystemErrorText(unsigned long code) {
    wchar_t* buffer = nullptr;
    const DWORD length =
        FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                       nullptr, code, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    const std::unique_ptr<wchar_t, LocalFreer> owner(buffer);
    std::wstring text(length != 0 && buffer != nullptr ? buffer : L"", length);
    while (!text.empty() && (IsSpaceOrControl(text.back()) || text.back() == L'.')) text.pop_back();
    return text;
}

bool FileExists(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

FileContent ReadFileContent(const std::wstring& path, std::size_t largest) {
    FileContent content;
    const DWORD code = RetriedWhileBrieflyLocked([&]() -> DWORD {
        content.bytes.reset();
        FileHandle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                    OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            const DWORD opened = GetLastError();
            return opened == ERROR_FILE_NOT_FOUND || opened == ERROR_PATH_NOT_FOUND ? ERROR_SUCCESS : opened;
        }
        std::vector<std::uint8_t> bytes;
        std::vector<std::uint8_t> chunk(std::size_t{64} * 1024);
        for (;;) {
            DWORD read = 0;
            if (!ReadFile(file.get(), chunk.data(), static_cast<DWORD>(chunk.size()), &read, nullptr))
                return GetLastError();
            if (read == 0) break;
            if (read > largest - bytes.size()) return ERROR_FILE_TOO_LARGE;
            bytes.insert(bytes.end(), chunk.begin(), chunk.begin() + read);
        }
        content.bytes = std::move(bytes);
        return ERROR_SUCCESS;
    });
    if (code == ERROR_SUCCESS) return content;
    content.bytes.reset();
    content.error = code;
    content.failure =
        code == ERROR_FILE_TOO_LARGE ? TooLarge(FullPathOf(path), largest) : CannotOpen(FullPathOf(path), code);
    return content;
}

std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path, std::size_t largest) {
    FileContent content = ReadFileContent(path, largest);
    if (content.failure) throw *content.failure;
    return std::move(content.bytes);
}

void WriteFileSafely(const std::wstring& path, const std::vector<std::uint8_t>& bytes) {
    const std::wstring full_path = FullPathOf(path);  // the name failures give, as the user knows it
    const std::wstring target = FinalPathOf(full_path);
    CheckTargetReplaceable(target, full_path);

    TemporaryFile temporary;  // declared first so that on a failure the handle is closed before the file is deleted
    FileHandle file = CreateTemporaryFile(FolderOf(target), full_path, temporary);
    WriteAll(file.get(), bytes);
    if (!FlushFileBuffers(file.get())) throw Failure(L"Stream write error");
    file.Close();

    const DWORD code = RetriedWhileBrieflyLocked([&]() -> DWORD {
        if (FileExists(target)) {
            const DWORD replaced = ReplaceExistingFile(target, temporary.path(), full_path);
            // The old file vanished meanwhile: then it is a new file after all.
            if (replaced != ERROR_FILE_NOT_FOUND || FileExists(target)) return replaced;
        }
        const DWORD flags = MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH;
        return MoveFileExW(temporary.path().c_str(), target.c_str(), flags) ? ERROR_SUCCESS : GetLastError();
    });
    if (code != ERROR_SUCCESS) throw CannotCreate(full_path, code);
    temporary.Release();
}

void SetWriteLimitForTests(std::optional<std::size_t> limit) { write_limit_for_tests = limit; }

void SetNamePartsForTests(std::function<std::wstring()> next) { name_parts_for_tests = std::move(next); }
