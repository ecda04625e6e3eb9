#include "launcher/command_lines.h"

#include "tests/support/argument_splitter.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

struct QuoteCase {
    const wchar_t* value;
    const wchar_t* quoted;
};

const QuoteCase kQuoteCases[] = {
    {L"Work", L"Work"},
    {L"dom\\ali", L"dom\\ali"},          // backslashes alone mean nothing
    {L"C:\\folder\\", L"C:\\folder\\"},  // nor at the end of a bare value
    {L"رمز۱۲۳", L"رمز۱۲۳"},
    {L"", LR"("")"},
    {L"VPN Connection", LR"("VPN Connection")"},
    {L"a\tb", L"\"a\tb\""},
    {L" lead", LR"(" lead")"},
    {L"trail ", LR"("trail ")"},
    {LR"(say "hi")", LR"("say \"hi\"")"},
    {LR"(")", LR"("\"")"},
    {LR"(a\"b)", LR"("a\\\"b")"},  // a backslash before a quote is doubled
    {LR"(a\\"b)", LR"("a\\\\\"b")"},
    {LR"(\")", LR"("\\\"")"},
    {LR"(my folder\)", LR"("my folder\\")"},  // and before the closing quote
    {LR"(my \\ folder\\)", LR"("my \\ folder\\\\")"},
};

void PrintTo(const QuoteCase& c, std::ostream* out) { *out << testing::PrintToString(std::wstring(c.value)); }

class QuoteArgumentTest : public testing::TestWithParam<QuoteCase> {};

TEST_P(QuoteArgumentTest, QuotesOnlyWhatNeedsItAndReadsBackExactly) {
    const std::wstring quoted = QuoteArgument(GetParam().value);
    EXPECT_EQ(quoted, GetParam().quoted);
    EXPECT_EQ(SplitArguments(quoted), std::vector<std::wstring>{GetParam().value});
}

INSTANTIATE_TEST_SUITE_P(Table, QuoteArgumentTest, testing::ValuesIn(kQuoteCases));

struct DialCase {
    const wchar_t* entry;
    const wchar_t* user;
    const wchar_t* password;
    const wchar_t* parameters;
    std::vector<std::wstring> arguments;  // as rasdial reads them back
};

const DialCase kDialCases[] = {
    {L"Work", L"ali", L"secret", L"Work ali secret", {L"Work", L"ali", L"secret"}},
    // Both empty: the entry alone, so that Windows dials with the sign-in it keeps for the entry.
    {L"Work", L"", L"", L"Work", {L"Work"}},
    {L"VPN Connection", L"", L"", LR"("VPN Connection")", {L"VPN Connection"}},
    {L"", L"", L"", LR"("")", {L""}},
    // One of the two empty: still three arguments, the empty one in its place.
    {L"Work", L"", L"secret", LR"(Work "" secret)", {L"Work", L"", L"secret"}},
    {L"Work", L"ali", L"", LR"(Work ali "")", {L"Work", L"ali", L""}},
    {L"VPN Connection", L"ali", L"secret", LR"("VPN Connection" ali secret)", {L"VPN Connection", L"ali", L"secret"}},
    {L"C:\\entry\\",
     L"dom\\ali",
     LR"(p"w d\)",
     LR"(C:\entry\ dom\ali "p\"w d\\")",
     {L"C:\\entry\\", L"dom\\ali", LR"(p"w d\)"}},
};

void PrintTo(const DialCase& c, std::ostream* out) { *out << testing::PrintToString(std::wstring(c.parameters)); }

class DialParametersTest : public testing::TestWithParam<DialCase> {};

TEST_P(DialParametersTest, EveryValueStaysInItsOwnPlace) {
    const DialCase& c = GetParam();
    const std::wstring parameters = DialParameters(c.entry, c.user, c.password);
    EXPECT_EQ(parameters, c.parameters);
    EXPECT_EQ(SplitArguments(parameters), c.arguments);
}

INSTANTIATE_TEST_SUITE_P(Table, DialParametersTest, testing::ValuesIn(kDialCases));

struct HangUpCase {
    const char* name;
    std::optional<std::wstring> dialled;
    const wchar_t* typed;
    const wchar_t* parameters;
};

const HangUpCase kHangUpCases[] = {
    {"NeitherDialledNorTyped", std::nullopt, L"", L"Kavlo  /DISCONNECT"},
    {"TypedBeforeAnyDial", std::nullopt, L"Work", L"Work  /DISCONNECT"},
    {"TypedWithASpace", std::nullopt, L"Office VPN", LR"("Office VPN"  /DISCONNECT)"},
    {"DialledWinsOverTyped", L"Work", L"Typed later", L"Work  /DISCONNECT"},
    {"DialledWithAnEmptyEntry", L"", L"Typed later", L"Kavlo  /DISCONNECT"},
    {"DialledPersian", L"اتصال شرکت", L"", LR"("اتصال شرکت"  /DISCONNECT)"},
};

void PrintTo(const HangUpCase& c, std::ostream* out) { *out << c.name; }

class HangUpParametersTest : public testing::TestWithParam<HangUpCase> {};

TEST_P(HangUpParametersTest, NamesTheEntryDialledElseTheOneTypedElseKavlo) {
    EXPECT_EQ(HangUpParameters(HangUpEntry(GetParam().dialled, GetParam().typed)), GetParam().parameters);
}

INSTANTIATE_TEST_SUITE_P(Table, HangUpParametersTest, testing::ValuesIn(kHangUpCases),
                         [](const testing::TestParamInfo<HangUpCase>& info) { return std::string(info.param.name); });

TEST(JoinWifiParameters, QuotesTheNameOnlyInBothPlaces) {
    EXPECT_EQ(JoinWifiParameters(L"Office"), L"wlan connect ssid=Office name=Office");
    EXPECT_EQ(JoinWifiParameters(L"Office Net"), LR"(wlan connect ssid="Office Net" name="Office Net")");
    EXPECT_EQ(SplitArguments(JoinWifiParameters(LR"(Cafe "5G")")),
              (std::vector<std::wstring>{L"wlan", L"connect", LR"(ssid=Cafe "5G")", LR"(name=Cafe "5G")"}));
}
}  // namespace
