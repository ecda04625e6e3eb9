#include "launcher/command_lines.h"

#include "tests/unit/argument_splitter.h"

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

TEST(DialParameters, PlainValuesAreJoinedAsTheyStand) {
    EXPECT_EQ(DialParameters(L"Work", L"ali", L"secret"), L"Work ali secret");
}

TEST(DialParameters, EveryValueStaysInItsOwnPlace) {
    const std::vector<std::vector<std::wstring>> cases = {
        {L"VPN Connection", L"ali", L"secret"},
        {L"Work", L"", L"secret"},
        {L"", L"", L""},
        {L"C:\\entry\\", L"dom\\ali", LR"(p"w d\)"},
    };
    for (const auto& values : cases) EXPECT_EQ(SplitArguments(DialParameters(values[0], values[1], values[2])), values);
}

TEST(JoinWifiParameters, QuotesTheNameOnlyInBothPlaces) {
    EXPECT_EQ(JoinWifiParameters(L"Office"), L"wlan connect ssid=Office name=Office");
    EXPECT_EQ(JoinWifiParameters(L"Office Net"), LR"(wlan connect ssid="Office Net" name="Office Net")");
    EXPECT_EQ(SplitArguments(JoinWifiParameters(LR"(Cafe "5G")")),
              (std::vector<std::wstring>{L"wlan", L"connect", LR"(ssid=Cafe "5G")", LR"(name=Cafe "5G")"}));
}
}  // namespace
