#include "platform/text.h"

#include "tests/support/wine_rig.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {

// "سرور پارس" (server Pars): letters cp1256 has, and one (U+067E) only Persian uses.
const std::wstring kPersian = L"\u0633\u0631\u0648\u0631 \u067E\u0627\u0631\u0633";
const std::string kPersianUtf8 = "\xD8\xB3\xD8\xB1\xD9\x88\xD8\xB1 \xD9\xBE\xD8\xA7\xD8\xB1\xD8\xB3";

TEST(TextTest, EmptyInputGivesEmptyOutput) {
    EXPECT_EQ(WideToAnsi(L""), "");
    EXPECT_EQ(AnsiToWide(""), L"");
    EXPECT_EQ(WideToUtf8(L""), "");
    EXPECT_EQ(Utf8ToWide(""), L"");
}

TEST(TextTest, Utf8BothWaysIncludingSurrogatePairs) {
    const std::wstring text = kPersian + L" \u00E9 \U0001F600";
    const std::string bytes = kPersianUtf8 + " \xC3\xA9 \xF0\x9F\x98\x80";
    EXPECT_EQ(WideToUtf8(text), bytes);
    EXPECT_EQ(Utf8ToWide(bytes), text);
}

TEST(TextTest, Utf8ToWideReplacesInvalidBytes) {
    EXPECT_EQ(Utf8ToWide("a\xFF"
                         "b"),
              L"a\uFFFDb");
}

// Each group of the rig under its own code page: the ANSI one the settings' values and the 8-bit hang-up are
// written in, and the OEM one a console tool prints in (netsh's words in a box).
TEST(CodePage1252Text, PersianLettersBecomeTheDefaultCharacter) {
    KAVLO_REQUIRE_CODE_PAGE(1252);
    EXPECT_EQ(ActiveCodePage(), 1252u);
    EXPECT_EQ(WideToAnsi(L"\u00E9\u20AC " + kPersian), "\xE9\x80 ???? ????");
    EXPECT_EQ(AnsiToWide("\xE9\x80"), L"\u00E9\u20AC");
    // OEM 437, the DOS code page of the United States: other bytes than 1252's for the same letters.
    EXPECT_EQ(OemToWide("caf\x82 \x9C"
                        "5"),
              L"caf\u00E9 \u00A35");
}

TEST(CodePage1256Text, PersianLettersHaveTheirCodePageBytes) {
    KAVLO_REQUIRE_CODE_PAGE(1256);
    EXPECT_EQ(ActiveCodePage(), 1256u);
    const std::string bytes = "\xD3\xD1\xE6\xD1 \x81\xC7\xD1\xD3";
    EXPECT_EQ(WideToAnsi(kPersian), bytes);
    EXPECT_EQ(AnsiToWide(bytes), kPersian);
    // OEM 720, Arabic DOS: its Arabic letters stand elsewhere than 1256's.
    EXPECT_EQ(OemToWide("\x82 \xA8"), L"\u00E9 \u0630");
}

TEST(CodePage65001Text, AnsiAndOemAreUtf8) {
    KAVLO_REQUIRE_CODE_PAGE(65001);
    EXPECT_EQ(ActiveCodePage(), 65001u);
    EXPECT_EQ(WideToAnsi(kPersian), kPersianUtf8);
    EXPECT_EQ(AnsiToWide(kPersianUtf8), kPersian);
    EXPECT_EQ(OemToWide(kPersianUtf8), kPersian);
}

}  // namespace
