#include "settings/connection_file.h"

#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace {

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
        TextCase{"FirstCharacterAboveTheBlankIsNotBlank", kDefaultLine, L"!", L"full address:s:!"},
        TextCase{"EveryOccurrence", kDefaultLine + L"|" + kDefaultLine + kDefaultLine, L"h",
                 L"full address:s:h|full address:s:hfull address:s:h"},
        TextCase{"InsertedTextNotSearchedAgain", L"<" + kDefaultLine + L">", kDefaultLine,
                 L"<full address:s:" + kDefaultLine + L">"},
        TextCase{"CaseSensitive", L"Full Address:s:192.168.1.1:7777", L"h", L"Full Address:s:192.168.1.1:7777"},
        TextCase{"OtherAddressUntouched", L"full address:s:192.168.1.1:77", L"h", L"full address:s:192.168.1.1:77"}),
    [](const auto& info) { return std::string(info.param.name); });

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

}  // namespace
