#include "settings/rdp_file.h"

#include "files_test_support.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "rdp_template.h"
#include "settings/rdp_text.h"
#include "tests/wine_rig.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

using Bytes = std::vector<std::uint8_t>;

const std::wstring kDefaultLine = L"full address:s:192.168.1.1:7777";
// "سرور-پارس:3389"
const std::wstring kPersianServer = L"\u0633\u0631\u0648\u0631-\u067E\u0627\u0631\u0633:3389";

struct TextCase {
    const char* name;
    std::wstring template_text;
    std::wstring server;
    std::wstring expected;
};
void PrintTo(const TextCase& c, std::ostream* os) { *os << c.name; }

class ConnectionText : public testing::TestWithParam<TextCase> {};

TEST_P(ConnectionText, ReplacesTheDefaultAddress) {
    EXPECT_EQ(GenerateConnectionText(GetParam().template_text, GetParam().server), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ConnectionText,
    testing::Values(
        TextCase{"EmptyServer", L"a\r\n" + kDefaultLine + L"\r\n", L"", L"a\r\n" + kDefaultLine + L"\r\n"},
        TextCase{"ControlCharactersAndBlanksOnly", kDefaultLine, std::wstring(L" \t\r\n\0\x1F\x20", 7), kDefaultLine},
        TextCase{"Address", L"a\r\n" + kDefaultLine + L"\r\nb", L"10.0.0.5:3389",
                 L"a\r\nfull address:s:10.0.0.5:3389\r\nb"},
        TextCase{"KeptUntrimmed", kDefaultLine, L" \t10.0.0.5 ", L"full address:s: \t10.0.0.5 "},
        TextCase{"NoBreakSpaceIsNotBlank", kDefaultLine, L"\u00A0", L"full address:s:\u00A0"},
        TextCase{"EveryOccurrence", kDefaultLine + L"|" + kDefaultLine + kDefaultLine, L"h",
                 L"full address:s:h|full address:s:hfull address:s:h"},
        TextCase{"InsertedTextNotSearchedAgain", L"<" + kDefaultLine + L">", kDefaultLine,
                 L"<full address:s:" + kDefaultLine + L">"},
        TextCase{"CaseSensitive", L"Full Address:s:192.168.1.1:7777", L"h", L"Full Address:s:192.168.1.1:7777"},
        TextCase{"OtherAddressUntouched", L"full address:s:192.168.1.1:77", L"h", L"full address:s:192.168.1.1:77"}),
    [](const auto& info) { return std::string(info.param.name); });

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

struct LineBreakCase {
    const char* name;
    std::wstring server;
    bool breaks;
};
void PrintTo(const LineBreakCase& c, std::ostream* os) { *os << c.name; }

class ServerLineBreak : public testing::TestWithParam<LineBreakCase> {};

// Each line of the file is a setting: a server text that ends its line would add settings of its own.
TEST_P(ServerLineBreak, IsFoundWhereverItStands) {
    EXPECT_EQ(BreaksConnectionLine(GetParam().server), GetParam().breaks);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ServerLineBreak,
    testing::Values(LineBreakCase{"Address", L"10.0.0.5:3389", false},
                    LineBreakCase{"TabsAndBlanksAsTyped", L" \t10.0.0.5 \u00A0", false},
                    LineBreakCase{"Persian", kPersianServer, false}, LineBreakCase{"Empty", L"", false},
                    LineBreakCase{"CrLfThenASetting", L"10.0.0.5\r\ndrivestoredirect:s:*", true},
                    LineBreakCase{"LoneLf", L"10.0.0.5\nalternate shell:s:x", true},
                    LineBreakCase{"LoneCrAtTheEnd", L"10.0.0.5\r", true}, LineBreakCase{"VerticalTab", L"a\vb", true},
                    LineBreakCase{"FormFeed", L"a\fb", true}, LineBreakCase{"NextLine", L"a\u0085b", true},
                    LineBreakCase{"LineSeparator", L"a\u2028b", true},
                    LineBreakCase{"ParagraphSeparator", L"a\u2029b", true}));

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

}  // namespace
