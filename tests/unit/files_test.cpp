#include "platform/files.h"

#include "platform/failure.h"
#include "platform/file_handle.h"
#include "tests/support/files_test_support.h"
#include "tests/unit/failure_of.h"

#include <windows.h>
#include <algorithm>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

std::wstring CannotCreate(const std::wstring& full_path, DWORD code) {
    return L"Cannot create file \"" + full_path + L"\". " + SystemErrorText(code);
}

FileHandle OpenUnshared(const std::wstring& path) {
    return FileHandle(
        CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
}

// The error the plain writer's creation of this file would give (0 when it would succeed).
DWORD PlainCreationError(const std::wstring& path) {
    FileHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    return file ? 0 : GetLastError();
}

class WriteLimit {
public:
    explicit WriteLimit(std::size_t bytes) { SetWriteLimitForTests(bytes); }
    WriteLimit(const WriteLimit&) = delete;
    WriteLimit& operator=(const WriteLimit&) = delete;
    ~WriteLimit() { SetWriteLimitForTests(std::nullopt); }
};

const Bytes kOld = FilesBytes("old bytes, a little longer than the new ones");
const Bytes kNew = FilesBytes("new bytes");

TEST(SystemErrorTextTest, DropsTrailingBlanksLineBreaksAndFullStops) {
    for (const DWORD code : {ERROR_FILE_NOT_FOUND, ERROR_ACCESS_DENIED, ERROR_SHARING_VIOLATION, ERROR_DISK_FULL}) {
        SCOPED_TRACE(code);
        wchar_t raw[512] = {};
        ASSERT_NE(FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, raw, 512,
                                 nullptr),
                  0u);
        const std::wstring full = raw;
        const std::wstring text = SystemErrorText(code);
        ASSERT_FALSE(text.empty());
        EXPECT_TRUE(text.back() > L' ' && text.back() != L'.') << text;
        ASSERT_EQ(full.substr(0, text.size()), text);
        for (const wchar_t c : full.substr(text.size())) EXPECT_TRUE(c <= L' ' || c == L'.') << full;
    }
}

TEST(FullPathOfTest, BareNameExpandsAgainstTheCurrentDirectory) {
    FilesTempFolder folder;
    FilesCurrentDirectory current(folder.path());
    EXPECT_EQ(FullPathOf(L"Kavlo.rdp"), folder.Path(L"Kavlo.rdp"));
}

TEST(FileExistsTest, OnlyForFiles) {
    FilesTempFolder folder;
    FilesPut(folder.Path(L"file.bin"), kOld);
    EXPECT_TRUE(FileExists(folder.Path(L"file.bin")));
    EXPECT_FALSE(FileExists(folder.Path(L"missing.bin")));
    EXPECT_FALSE(FileExists(folder.path()));
}

TEST(ReadWholeFileTest, ReadsEveryByte) {
    FilesTempFolder folder;
    Bytes bytes(200 * 1024 + 3);
    for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<std::uint8_t>(i * 7 + i / 251);
    FilesPut(folder.Path(L"big.bin"), bytes);
    EXPECT_EQ(ReadWholeFile(folder.Path(L"big.bin")), bytes);
    FilesPut(folder.Path(L"empty.bin"), {});
    EXPECT_EQ(ReadWholeFile(folder.Path(L"empty.bin")), Bytes());
}

TEST(ReadWholeFileTest, MissingFileIsNothing) {
    FilesTempFolder folder;
    EXPECT_EQ(ReadWholeFile(folder.Path(L"missing.bin")), std::nullopt);
    EXPECT_EQ(ReadWholeFile(folder.Path(L"missing folder\\missing.bin")), std::nullopt);
}

// Held for good: the reader waits out its patience, then reports the lock, with its code for the caller to tell.
TEST(ReadWholeFileTest, FileHeldWithoutSharingCannotBeOpened) {
    FilesTempFolder folder;
    const std::wstring path = folder.Path(L"held.bin");
    FilesPut(path, kOld);
    const FileHandle held = OpenUnshared(path);
    ASSERT_TRUE(held);
    const std::wstring cannot_open = L"Cannot open file \"" + path + L"\". " + SystemErrorText(ERROR_SHARING_VIOLATION);
    EXPECT_EQ(FailureOf([&] { ReadWholeFile(path); }), cannot_open);
    const FileContent content = ReadFileContent(path);
    EXPECT_EQ(content.error, static_cast<unsigned long>(ERROR_SHARING_VIOLATION));
    ASSERT_TRUE(content.failure);
    EXPECT_EQ(content.failure->message(), cannot_open);
    EXPECT_EQ(content.bytes, std::nullopt);
}

TEST(ReadWholeFileTest, AFileLargerThanAllowedIsReportedWithItsCode) {
    FilesTempFolder folder;
    const std::wstring path = folder.Path(L"large.bin");
    FilesPut(path, Bytes(3000, 'x'));
    const FileContent content = ReadFileContent(path, 2048);
    EXPECT_EQ(content.error, static_cast<unsigned long>(ERROR_FILE_TOO_LARGE));
    ASSERT_TRUE(content.failure);
    EXPECT_EQ(content.failure->message(),
              L"Cannot open file \"" + path + L"\". It is larger than 2 KB, too large to be read");
    EXPECT_EQ(ReadFileContent(path, 3000).bytes, std::optional<Bytes>(Bytes(3000, 'x')));
}

// A scanner or sync client that holds the file for a moment delays a read or a save instead of failing it.
struct BriefLockCase {
    const char* name;
    // Runs while the file is held; what the file then holds, as the call read or wrote it.
    std::function<Bytes(const std::wstring& path)> read_or_write;
    Bytes expected;
};
void PrintTo(const BriefLockCase& c, std::ostream* os) { *os << c.name; }

class BriefLockTest : public testing::TestWithParam<BriefLockCase> {};

TEST_P(BriefLockTest, WaitsForTheLockToPass) {
    FilesTempFolder folder;
    const std::wstring path = folder.Path(L"held.bin");
    FilesPut(path, kOld);
    FileHandle held = OpenUnshared(path);
    ASSERT_TRUE(held);
    std::thread releaser([&held] {
        Sleep(150);  // well inside the call's patience, long enough for its first attempts to meet the lock
        held.Close();
    });
    const Bytes bytes = GetParam().read_or_write(path);
    releaser.join();
    EXPECT_EQ(bytes, GetParam().expected);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"held.bin"});
}

INSTANTIATE_TEST_SUITE_P(
    ReadAndSave, BriefLockTest,
    testing::Values(BriefLockCase{"ReadFileContent",
                                  [](const std::wstring& path) {
                                      const FileContent content = ReadFileContent(path);
                                      EXPECT_EQ(content.error, 0ul);
                                      EXPECT_FALSE(content.failure);
                                      return content.bytes.value_or(Bytes{});
                                  },
                                  kOld},
                    BriefLockCase{"ReadWholeFile",
                                  [](const std::wstring& path) { return ReadWholeFile(path).value_or(Bytes{}); }, kOld},
                    BriefLockCase{"WriteFileSafely",
                                  [](const std::wstring& path) {
                                      WriteFileSafely(path, kNew);
                                      return FilesGet(path);
                                  },
                                  kNew}),
    [](const auto& info) { return std::string(info.param.name); });

struct SuccessCase {
    const char* name;
    std::optional<Bytes> old_bytes;
    Bytes new_bytes;
};
void PrintTo(const SuccessCase& c, std::ostream* os) { *os << c.name; }

class SafeWriterSuccess : public testing::TestWithParam<SuccessCase> {};

TEST_P(SafeWriterSuccess, LeavesExactlyTheNewBytesAndNothingElse) {
    FilesTempFolder folder;
    const std::wstring path = folder.Path(L"target.bin");
    if (GetParam().old_bytes) FilesPut(path, *GetParam().old_bytes);
    WriteFileSafely(path, GetParam().new_bytes);
    EXPECT_EQ(FilesGet(path), GetParam().new_bytes);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"target.bin"});
}

INSTANTIATE_TEST_SUITE_P(Cases, SafeWriterSuccess,
                         testing::Values(SuccessCase{"NewFile", std::nullopt, kNew},
                                         SuccessCase{"ShorterOverLonger", kOld, kNew},
                                         SuccessCase{"LongerOverShorter", kNew, kOld},
                                         SuccessCase{"EmptyOverOld", kOld, {}}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(SafeWriterTest, BareNameGoesToTheCurrentDirectory) {
    FilesTempFolder folder;
    FilesCurrentDirectory current(folder.path());
    WriteFileSafely(L"bare.bin", kNew);
    EXPECT_EQ(FilesGet(folder.Path(L"bare.bin")), kNew);
}

// Each case makes the old target one that creating the file over it would refuse; `held` stays open during the write.
struct RefusalCase {
    const char* name;
    std::function<FileHandle(const std::wstring&)> prepare;
    DWORD code;
};
void PrintTo(const RefusalCase& c, std::ostream* os) { *os << c.name; }

FileHandle WithAttribute(const std::wstring& path, DWORD attribute) {
    if (!SetFileAttributesW(path.c_str(), attribute) || !(GetFileAttributesW(path.c_str()) & attribute))
        ADD_FAILURE() << "cannot set attribute " << attribute;
    return {};
}

class SafeWriterRefusal : public testing::TestWithParam<RefusalCase> {};

TEST_P(SafeWriterRefusal, FailsBeforeReplacingAnything) {
    FilesTempFolder folder;
    const std::wstring path = folder.Path(L"target.bin");
    FilesPut(path, kOld);
    {
        const FileHandle held = GetParam().prepare(path);
        EXPECT_EQ(FailureOf([&] { WriteFileSafely(path, kNew); }), CannotCreate(path, GetParam().code));
    }
    EXPECT_EQ(FilesGet(path), kOld);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"target.bin"});
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SafeWriterRefusal,
    testing::Values(RefusalCase{"ReadOnly",
                                [](const std::wstring& p) { return WithAttribute(p, FILE_ATTRIBUTE_READONLY); },
                                ERROR_ACCESS_DENIED},
                    RefusalCase{"Hidden", [](const std::wstring& p) { return WithAttribute(p, FILE_ATTRIBUTE_HIDDEN); },
                                ERROR_ACCESS_DENIED},
                    RefusalCase{"System", [](const std::wstring& p) { return WithAttribute(p, FILE_ATTRIBUTE_SYSTEM); },
                                ERROR_ACCESS_DENIED},
                    // Held for good: the writer waits out its patience, then reports as it would at once.
                    RefusalCase{"HeldWithoutSharing",
                                [](const std::wstring& p) {
                                    FileHandle held = OpenUnshared(p);
                                    if (!held) ADD_FAILURE() << "cannot hold the file open";
                                    return held;
                                },
                                ERROR_SHARING_VIOLATION}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SafeWriterTest, DirectoryInPlaceOfTheFileIsRefused) {
    FilesTempFolder folder;
    const std::wstring path = folder.Path(L"target.bin");
    ASSERT_TRUE(CreateDirectoryW(path.c_str(), nullptr));
    EXPECT_EQ(FailureOf([&] { WriteFileSafely(path, kNew); }), CannotCreate(path, ERROR_ACCESS_DENIED));
    EXPECT_TRUE(GetFileAttributesW(path.c_str()) & FILE_ATTRIBUTE_DIRECTORY);
    RemoveDirectoryW(path.c_str());
    EXPECT_TRUE(folder.Names().empty());
}

struct ShortWriteCase {
    const char* name;
    std::size_t limit;
    bool old_exists;
};
void PrintTo(const ShortWriteCase& c, std::ostream* os) { *os << c.name; }

class SafeWriterShortWrite : public testing::TestWithParam<ShortWriteCase> {};

TEST_P(SafeWriterShortWrite, KeepsTheOldFileAndLeavesNoTemporaryFile) {
    FilesTempFolder folder;
    const std::wstring path = folder.Path(L"target.bin");
    if (GetParam().old_exists) FilesPut(path, kOld);
    const Bytes bytes(4096, 0x5A);
    {
        const WriteLimit limit(GetParam().limit);
        EXPECT_EQ(FailureOf([&] { WriteFileSafely(path, bytes); }), L"Stream write error");
    }
    if (GetParam().old_exists) {
        EXPECT_EQ(FilesGet(path), kOld);
        EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"target.bin"});
    } else {
        EXPECT_TRUE(folder.Names().empty());
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, SafeWriterShortWrite,
                         testing::Values(ShortWriteCase{"NothingAccepted", 0, true},
                                         ShortWriteCase{"PartAccepted", 1000, true},
                                         ShortWriteCase{"AllButOneByteAccepted", 4095, true},
                                         ShortWriteCase{"NoOldFile", 1000, false}),
                         [](const auto& info) { return std::string(info.param.name); });

// Files of others under the names where the temporary or the backup file would go (the random part of the names
// drawn here as 1, 2, 3...: the temporary file's first, then the backup's): the writer draws other names, and
// leaves those files, and the old bytes when the write fails, as they were.
struct TakenNamesCase {
    const char* name;
    std::vector<int> taken;
    std::optional<std::size_t> write_limit;
};
void PrintTo(const TakenNamesCase& c, std::ostream* os) { *os << c.name; }

class SafeWriterTakenNames : public testing::TestWithParam<TakenNamesCase> {
protected:
    void TearDown() override { SetNamePartsForTests(nullptr); }
};

TEST_P(SafeWriterTakenNames, DrawsOtherNamesAndLeavesWhatWasThere) {
    FilesTempFolder folder;
    const std::wstring path = folder.Path(L"target.bin");
    FilesPut(path, kOld);
    const Bytes unrelated = FilesBytes("someone else's");
    std::vector<std::wstring> names{L"target.bin"};
    for (int part : GetParam().taken) {
        names.push_back(L"~kavlo-" + std::to_wstring(part) + L".tmp");
        FilesPut(folder.Path(names.back()), unrelated);
    }
    std::sort(names.begin(), names.end());
    int drawn = 0;
    SetNamePartsForTests([&drawn] { return std::to_wstring(++drawn); });

    if (GetParam().write_limit) {
        const WriteLimit limit(*GetParam().write_limit);
        EXPECT_EQ(FailureOf([&] { WriteFileSafely(path, kNew); }), L"Stream write error");
        EXPECT_EQ(FilesGet(path), kOld);
    } else {
        WriteFileSafely(path, kNew);
        EXPECT_EQ(FilesGet(path), kNew);
    }
    EXPECT_EQ(folder.Names(), names) << "a file of the save's was left behind, or one of the others went";
    for (std::size_t i = 1; i < names.size(); ++i) EXPECT_EQ(FilesGet(folder.Path(names[i])), unrelated) << i;
}

INSTANTIATE_TEST_SUITE_P(Cases, SafeWriterTakenNames,
                         testing::Values(TakenNamesCase{"TemporaryName", {1}, std::nullopt},
                                         TakenNamesCase{"BackupName", {2}, std::nullopt},
                                         TakenNamesCase{"SeveralOfBoth", {1, 2, 4}, std::nullopt},
                                         TakenNamesCase{"TemporaryNameAndTheWriteFails", {1}, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

// Folders prepared by tests/unit/files_mounts.sh when ctest runs this program; the marker shows the mount is in place.
std::wstring MountedFolder(const wchar_t* name, const wchar_t* marker) {
    const std::wstring root = FilesEnvironment(L"KAVLO_FILES_MOUNTS");
    if (root.empty()) return {};
    const std::wstring folder = FullPathOf(root + L"\\" + name);
    return FileExists(folder + L"\\" + marker) ? folder : std::wstring();
}

TEST(SafeWriterMountTest, UnwritableFolderFailsNamingTheTarget) {
    const std::wstring folder = MountedFolder(L"readonly", L"old.bin");
    if (folder.empty()) GTEST_SKIP() << "no read-only bind mount: run through ctest as root (mount refused otherwise)";
    const Bytes old_bytes = FilesGet(folder + L"\\old.bin");
    for (const wchar_t* name : {L"new.bin", L"old.bin"}) {
        const std::wstring path = folder + L"\\" + name;
        SCOPED_TRACE(testing::PrintToString(std::wstring(name)));
        const DWORD code = PlainCreationError(path);
        ASSERT_NE(code, 0u) << "the plain creation succeeded: the folder is writable";
        EXPECT_EQ(FailureOf([&] { WriteFileSafely(path, kNew); }), CannotCreate(path, code));
        EXPECT_EQ(FilesGet(folder + L"\\old.bin"), old_bytes);
        EXPECT_EQ(FilesNamesIn(folder), std::vector<std::wstring>{L"old.bin"});
    }
}

// A settings file kept as a link to a shared copy: the copy gets the new bytes, and the link still leads to it.
TEST(SafeWriterLinkTest, WritesThroughASymbolicLinkIntoItsTarget) {
    const std::wstring folder = MountedFolder(L"linked", L"shared\\setup_a.ini");
    if (folder.empty()) GTEST_SKIP() << "no linked folder: run through ctest, whose set-up makes it";
    const std::wstring link = folder + L"\\setup_a.ini";
    WriteFileSafely(link, kNew);
    EXPECT_EQ(FilesGet(folder + L"\\shared\\setup_a.ini"), kNew);
    HANDLE file = CreateFileW(link.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    wchar_t final_path[MAX_PATH] = {};
    GetFinalPathNameByHandleW(file, final_path, MAX_PATH, VOLUME_NAME_DOS);
    CloseHandle(file);
    EXPECT_TRUE(std::wstring_view(final_path).ends_with(L"\\shared\\setup_a.ini"))
        << testing::PrintToString(std::wstring(final_path));
    EXPECT_EQ(FilesNamesIn(folder + L"\\shared"), std::vector<std::wstring>{L"setup_a.ini"})
        << "no temporary or backup file left";
}

TEST(SafeWriterMountTest, FullDiskKeepsTheOldFile) {
    const std::wstring mount = MountedFolder(L"tmpfs", L"mounted");
    if (mount.empty()) GTEST_SKIP() << "no 8k tmpfs: run through ctest as root (mount refused otherwise)";
    FilesTempFolder folder(mount);
    const std::wstring path = folder.Path(L"target.bin");
    FilesPut(path, kOld);
    EXPECT_EQ(FailureOf([&] { WriteFileSafely(path, Bytes(64 * 1024, 0x5A)); }), L"Stream write error");
    EXPECT_EQ(FilesGet(path), kOld);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"target.bin"});
}

}  // namespace
