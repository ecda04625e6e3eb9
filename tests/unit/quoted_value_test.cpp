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

// A value that would show itself in another order: each bidirectional control is shown, not obeyed.
TEST(QuotedValueTest, ShowsBidirectionalControlsAsEscapes) {
    const struct {
        const char* name;
        std::wstring value;
        std::wstring quoted;
    } cases[] = {
        {"right-to-left override", L"Work\u202Eexe.txt", L"Work<U+202E>exe.txt"},
        {"marks and embeddings", L"\u200E\u200F\u061C\u202A\u202B\u202C",
         L"<U+200E><U+200F><U+061C><U+202A><U+202B><U+202C>"},
        {"overrides and isolates", L"\u202D\u2066\u2067\u2068\u2069", L"<U+202D><U+2066><U+2067><U+2068><U+2069>"},
        {"Persian and its joiners stay", L"\u0645\u06CC\u200C\u0631\u0648\u0645",
         L"\u0645\u06CC\u200C\u0631\u0648\u0645"},
        {"an escape is never cut in half", std::wstring(55, L'x') + L"\u202Eabc", std::wstring(55, L'x') + L"\u2026"},
        {"an escape that fits", std::wstring(51, L'x') + L"\u202Eabc", std::wstring(51, L'x') + L"<U+202E>\u2026"},
    };
    for (const auto& c : cases) EXPECT_EQ(QuotedValue(c.value), c.quoted) << c.name;
}

TEST(QuotedValueTest, VisibleBidiControlsChangeNothingElse) {
    EXPECT_EQ(
        WithVisibleBidiControls(L"There is no profile \"\u2067Office\u2069\" here.\r\n" + std::wstring(700, L'y')),
        L"There is no profile \"<U+2067>Office<U+2069>\" here.\r\n" + std::wstring(700, L'y'));
}

TEST(QuotedValueTest, AHostileValueOfThreeKilobytesIsCut) {
    const std::wstring value =
        std::wstring(1500, L'A') + L"\r\n\r\nThe settings are fine. Press OK.\r\n" + std::wstring(1500, L'B');
    EXPECT_EQ(QuotedValue(value), std::wstring(59, L'A') + L"\u2026");
}
