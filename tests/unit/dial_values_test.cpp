#include "settings/dial_values.h"

#include "tests/support/refusal_texts.h"

#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace {
// Stands in for a code page's best fit, whatever the machine's: the look-alikes of "/", '"', "\" and the blank
// become those; any other character outside ASCII becomes "?", as one the code page lacks.
std::wstring StandInBestFit(std::wstring_view value) {
    constexpr std::wstring_view kLookAlikes = L"\uFF0F\u2215\uFF02\uFF3C\u3000";
    constexpr std::wstring_view kAsciiForms = L"//\"\\ ";
    std::wstring read;
    for (wchar_t c : value) {
        const std::size_t look_alike = kLookAlikes.find(c);
        read += look_alike != std::wstring_view::npos ? kAsciiForms[look_alike] : c < 0x80 ? c : L'?';
    }
    return read;
}

struct RefusalCase {
    const char* name;
    const wchar_t* entry;
    const wchar_t* user;
    const wchar_t* password;
    std::optional<std::wstring> refusal;  // none: the values can be dialled
};

const RefusalCase kRefusalCases[] = {
    {"PlainValues", L"Work", L"ali", L"secret", std::nullopt},
    {"AllEmpty", L"", L"", L"", std::nullopt},
    {"SlashInsideOrAtTheEnd", L"Work/2", L"dom/ali", L"secret/", std::nullopt},
    {"BackslashIsNoSwitch", L"\\Work", L"\\ali", L"\\x", std::nullopt},
    {"TypedQuotesAndBlanksPass", L"VPN \"Work\"", L"a b", L"p\"\t", std::nullopt},
    {"LettersTheCodePageLacks", L"\u06A9\u0627\u0631", L"\u0639\u0644\u06CC", L"\u0631\u0645\u0632", std::nullopt},
    {"Entry", L"/PHONE:10.9.9.9", L"ali", L"secret", kEntrySlash},
    {"EntryIsJustASlash", L"/", L"", L"", kEntrySlash},
    {"BlankBeforeTheSlash", L" /PHONE:10.9.9.9", L"ali", L"secret", kEntrySlash},
    {"TabBeforeTheSlash", L"\t/PHONE:10.9.9.9", L"ali", L"secret", kEntrySlash},
    {"User", L"Work", L"/DISCONNECT", L"secret", kUserSlash},
    {"Password", L"Work", L"ali", L"/x9", kPasswordSlash},
    {"TheFirstFieldIsNamed", L"/a", L"/b", L"/c", kEntrySlash},
    {"FullwidthSlashInTheEntry", L"\uFF0FPHONE:evil.example", L"", L"", kEntryLookAlike},
    {"DivisionSlashAfterAnIdeographicSpace", L"\u3000\u2215PHONE:evil.example", L"", L"", kEntryLookAlike},
    {"FullwidthQuoteInTheUser", L"Work", L"ali\uFF02", L"secret", kUserLookAlike},
    {"FullwidthQuoteInThePassword", L"Work", L"ali", L"p\uFF02 /PHONE:evil.example", kPasswordLookAlike},
    {"IdeographicSpaceInThePassword", L"Work", L"ali", L"se\u3000cret", kPasswordLookAlike},
    {"FullwidthBackslashBeforeTheClosingQuote", L"My Work\uFF3C", L"ali", L"secret", kEntryLookAlike},
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class DialValueRefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(DialValueRefusalTest, RefusesAValueRasdialWouldNotReceiveAsTypedNamingItsField) {
    const RefusalCase& c = GetParam();
    EXPECT_EQ(DialValueRefusal(c.entry, c.user, c.password, StandInBestFit), c.refusal);
}

INSTANTIATE_TEST_SUITE_P(Table, DialValueRefusalTest, testing::ValuesIn(kRefusalCases),
                         [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

TEST(WifiNetworkRefusalTest, RefusesANameNetshWouldNotReceiveAsTyped) {
    const struct {
        const wchar_t* network;
        std::optional<std::wstring> refusal;
    } cases[] = {
        {L"Office", std::nullopt},
        {L"/Office", std::nullopt},  // "name=/Office" is no switch
        {L"My \"Office\"", std::nullopt},
        {L"\u062F\u0641\u062A\u0631", std::nullopt},
        {L"Office\uFF02 name=evil", kWifiLookAlike},
        {L"Office\u3000Guest", kWifiLookAlike},
        {L"\uFF0FOffice", kWifiLookAlike},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WifiNetworkRefusal(c.network, StandInBestFit), c.refusal)
            << testing::PrintToString(std::wstring(c.network));
    }
}
}  // namespace
