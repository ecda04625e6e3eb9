// Kavlo.rdp on disk: written in the ANSI code page, and an old one read and judged with crypt32's verifier.
#include "platform/failure.h"
#include "platform/file_handle.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/connection_file.h"
#include "tests/support/files_test_support.h"
#include "tests/support/rdp_template.h"
#include "tests/support/test_signer.h"
#include "tests/support/wine_rig.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::wstring kDefaultLine = L"full address:s:192.168.1.1:7777";
// "سرور-پارس:3389"
const std::wstring kPersianServer = L"\u0633\u0631\u0648\u0631-\u067E\u0627\u0631\u0633:3389";

// Saves in a private current directory; the suite fails at once when the rig's locale does not give the code page.
template <unsigned CodePage>
class ConnectionFileTest : public testing::Test {
protected:
    void SetUp() override { KAVLO_REQUIRE_CODE_PAGE(CodePage); }

    Bytes Save(const std::wstring& server) {
        WriteConnectionFile(GenerateConnectionText(RdpTemplateText(), server));
        return FilesGet(folder_.Path(L"Kavlo.rdp"));
    }

    FilesTempFolder folder_;
    FilesCurrentDirectory current_{folder_.path()};
};

class CodePage1252ConnectionFile : public ConnectionFileTest<1252> {};
class CodePage1256ConnectionFile : public ConnectionFileTest<1256> {};
class CodePage65001ConnectionFile : public ConnectionFileTest<65001> {};

Bytes WithByteOrderMark(Bytes bytes) {
    bytes.insert(bytes.begin(), {0xEF, 0xBB, 0xBF});
    return bytes;
}

TEST_F(CodePage1252ConnectionFile, HoldsTheTemplateWithTheServer) {
    struct Case {
        const char* name;
        std::wstring server;
        std::string address_line;
        std::size_t size;
    };
    const Case cases[] = {
        {"empty", L"", "full address:s:192.168.1.1:7777", 1123},
        {"blanks only", L"   ", "full address:s:192.168.1.1:7777", 1123},
        {"address", L"10.0.0.5:3389", "full address:s:10.0.0.5:3389", 1107 + 13},
        {"blanks around", L"  10.0.0.5:3389 ", "full address:s:  10.0.0.5:3389 ", 1107 + 16},
        {"contains the default line", kDefaultLine, "full address:s:full address:s:192.168.1.1:7777", 1107 + 31},
        {"no-break space alone", L"\u00A0", "full address:s:\xA0", 1107 + 1},
        {"Persian letters", kPersianServer, "full address:s:\?\?\?\?-\?\?\?\?:3389", 1107 + 14},
    };
    const std::string last_line = "\r\nkdcproxyname:s:\r\n";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Bytes bytes = Save(c.server);
        EXPECT_EQ(bytes, RdpFileWithAddressLine(c.address_line));
        EXPECT_EQ(bytes.size(), c.size);
        ASSERT_GE(bytes.size(), last_line.size());
        EXPECT_EQ(std::string(bytes.end() - last_line.size(), bytes.end()), last_line);
    }
}

TEST_F(CodePage1252ConnectionFile, SavingTwiceKeepsOnlyTheSecond) {
    Save(L"first.example.com:3389");
    EXPECT_EQ(Save(L"10.0.0.5"), RdpFileWithAddressLine("full address:s:10.0.0.5"));
    EXPECT_EQ(folder_.Names(), std::vector<std::wstring>{L"Kavlo.rdp"});
}

TEST_F(CodePage1256ConnectionFile, PersianLettersHaveTheirCodePageBytes) {
    EXPECT_EQ(Save(kPersianServer), RdpFileWithAddressLine("full address:s:\xD3\xD1\xE6\xD1-\x81\xC7\xD1\xD3:3389"));
}

TEST_F(CodePage65001ConnectionFile, ByteOrderMarkThenUtf8) {
    EXPECT_EQ(Save(kPersianServer),
              WithByteOrderMark(RdpFileWithAddressLine(
                  "full address:s:\xD8\xB3\xD8\xB1\xD9\x88\xD8\xB1-\xD9\xBE\xD8\xA7\xD8\xB1\xD8\xB3:3389")));
    EXPECT_EQ(Save(L""), WithByteOrderMark(RdpFileWithAddressLine("full address:s:192.168.1.1:7777")));
}

TEST(ConnectionFileTest, FailureNamesTheFullPathOfTheFile) {
    FilesTempFolder folder;
    FilesCurrentDirectory current(folder.path());
    const std::wstring path = folder.Path(L"Kavlo.rdp");
    FilesPut(path, FilesBytes("old"));
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    std::wstring message;
    try {
        WriteConnectionFile(RdpTemplateText());
    } catch (const Failure& failure) {
        message = failure.message();
    }
    EXPECT_EQ(message, L"Cannot create file \"" + path + L"\". " + SystemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_EQ(FilesGet(path), FilesBytes("old"));
}

// A real signature, made now, of a file in the ANSI code page: its letters decoded as the code page has them.
TEST_F(CodePage1256ConnectionFile, ASignedFileInTheCodePageIsKeptForItsServer) {
    // "سرور" in code page 1256, in a scoped line.
    const std::string text = SignedLikeRdpsign(
        "full address:s:rdp.example.test\r\nalternate shell:s:\xD3\xD1\xE6\xD1\r\n", "Full Address,Alternate Shell",
        false, "signscope", [](std::string_view bytes) { return AnsiToWide(bytes); });
    const Bytes bytes(text.begin(), text.end());
    EXPECT_TRUE(KeepsConnectionFile(bytes, L"RDP.example.test:3389"));
    EXPECT_FALSE(KeepsConnectionFile(bytes, L"other.example.test"));
    Bytes changed = bytes;
    changed[text.find('\xD3')] = 0xD4;
    EXPECT_FALSE(KeepsConnectionFile(changed, L"rdp.example.test")) << "a scoped letter changed after signing";
}

TEST(ConnectionFileTest, ReadingItNamesTheFileThatCannotBeRead) {
    FilesTempFolder folder;
    FilesCurrentDirectory current(folder.path());
    EXPECT_EQ(ReadConnectionFile(), std::nullopt) << "no file yet";
    const std::wstring path = folder.Path(L"Kavlo.rdp");
    FilesPut(path, FilesBytes("full address:s:rdp.example.test\r\n"));
    EXPECT_EQ(ReadConnectionFile(), FilesBytes("full address:s:rdp.example.test\r\n"));
    const FileHandle held(CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(held);
    std::wstring message;
    try {
        ReadConnectionFile();
    } catch (const Failure& failure) {
        message = failure.message();
    }
    EXPECT_EQ(message, L"Cannot open file \"" + path + L"\". " + SystemErrorText(ERROR_SHARING_VIOLATION));
}

}  // namespace
