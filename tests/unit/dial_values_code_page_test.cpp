// The refusal of typed values with the real best fit of each ANSI code page the program meets: which look-alikes a
// code page turns into "/", '"' or a blank differs, so the rows do.
#include "platform/ansi_best_fit.h"
#include "settings/dial_values.h"
#include "tests/support/refusal_texts.h"
#include "tests/support/wine_rig.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace {
struct CodePageRow {
    const char* name;
    const wchar_t* entry;
    const wchar_t* user;
    const wchar_t* password;
    std::optional<std::wstring> in_1252;  // the refusal under each code page; none: dialled
    std::optional<std::wstring> in_1256;
    std::optional<std::wstring> in_65001;
};

const CodePageRow kRows[] = {
    {"FullwidthSlash", L"\uFF0FPHONE:evil.example", L"", L"", kEntryLookAlike, kEntryLookAlike, std::nullopt},
    {"DivisionSlash", L"\u2215PHONE:evil.example", L"", L"", kEntryLookAlike, std::nullopt, std::nullopt},
    {"FractionSlash", L"\u2044PHONE:evil.example", L"", L"", kEntryLookAlike, std::nullopt, std::nullopt},
    {"FullwidthQuote", L"Work", L"ali", L"p\uFF02 /PHONE:evil.example", kPasswordLookAlike, kPasswordLookAlike,
     std::nullopt},
    {"IdeographicSpace", L"Work", L"ali\u3000x", L"secret", kUserLookAlike, std::nullopt, std::nullopt},
    {"EnSpace", L"Work", L"ali\u2002x", L"secret", kUserLookAlike, std::nullopt, std::nullopt},
    {"Persian", L"\u06A9\u0627\u0631", L"\u0639\u0644\u06CC", L"\u0631\u0645\u0632", std::nullopt, std::nullopt,
     std::nullopt},
    {"TypedSlash", L"/PHONE:evil.example", L"", L"", kEntrySlash, kEntrySlash, kEntrySlash},
};

void ExpectRows(std::optional<std::wstring> CodePageRow::*expected) {
    for (const CodePageRow& row : kRows)
        EXPECT_EQ(DialValueRefusal(row.entry, row.user, row.password, AnsiBestFitReading), row.*expected) << row.name;
}

TEST(CodePage1252DialValues, RefusesEveryLookAlikeTheCodePageMapsToASlashAQuoteOrABlank) {
    KAVLO_REQUIRE_CODE_PAGE(1252);
    ExpectRows(&CodePageRow::in_1252);
    EXPECT_EQ(WifiNetworkRefusal(L"Office\uFF02 name=evil", AnsiBestFitReading),
              std::optional<std::wstring>(kWifiLookAlike));
}

TEST(CodePage1256DialValues, RefusesOnlyTheFullwidthLookAlikesAndDialsPersianAsTyped) {
    KAVLO_REQUIRE_CODE_PAGE(1256);
    ExpectRows(&CodePageRow::in_1256);
    EXPECT_EQ(WifiNetworkRefusal(L"\u062F\u0641\u062A\u0631", AnsiBestFitReading), std::nullopt);
    EXPECT_EQ(AnsiBestFitReading(L"\u0631\u0645\u0632"), L"\u0631\u0645\u0632") << "Persian is spelt exactly";
}

TEST(CodePage65001DialValues, SpellsEveryValueExactlySoOnlyATypedSlashIsRefused) {
    KAVLO_REQUIRE_CODE_PAGE(65001);
    ExpectRows(&CodePageRow::in_65001);
}
}  // namespace
