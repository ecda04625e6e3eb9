#include "platform/quoted_value.h"

#include <string>

#include <gtest/gtest.h>

TEST(QuotedValueTest, StaysOnOneLineAndShort) {
    struct Case {
        const char* name;
        std::wstring value;
        std::wstring quoted;
    };
    const std::wstring sixty(60, L'a');
    // U+1F600 as its two UTF-16 code units, written out so that a 32-bit wchar_t holds them alike.
    const std::wstring pair{static_cast<wchar_t>(0xD83D), static_cast<wchar_t>(0xDE00)};
    const Case cases[] = {
        {"short", L"1", L"1"},
        {"empty", L"", L""},
        {"exactly the longest", sixty, sixty},
        {"one more", sixty + L"b", std::wstring(59, L'a') + L"\u2026"},
        {"line breaks and tabs", L"True\r\nOK\tthen", L"True  OK then"},
        {"other breaks", L"a\u0085b\u2028c\u2029d\u007Fe", L"a b c d e"},
        {"a break cut off with the rest", std::wstring(59, L'x') + L"\r\nForged", std::wstring(59, L'x') + L"\u2026"},
        {"not half a surrogate pair", std::wstring(58, L'x') + pair + L"yy", std::wstring(58, L'x') + L"\u2026"},
        {"a whole pair kept", std::wstring(57, L'x') + pair + L"yy", std::wstring(57, L'x') + pair + L"\u2026"},
        {"Persian", L"درست", L"درست"},
    };
    for (const Case& c : cases) EXPECT_EQ(QuotedValue(c.value), c.quoted) << c.name;
}

TEST(QuotedValueTest, AHostileValueOfThreeKilobytesIsCut) {
    const std::wstring value =
        std::wstring(1500, L'A') + L"\r\n\r\nThe settings are fine. Press OK.\r\n" + std::wstring(1500, L'B');
    EXPECT_EQ(QuotedValue(value), std::wstring(59, L'A') + L"\u2026");
}
