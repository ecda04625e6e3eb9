#include "settings/dial_values.h"

#include <optional>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

namespace {
struct RefusalCase {
    const char* name;
    const wchar_t* entry;
    const wchar_t* user;
    const wchar_t* password;
    const wchar_t* refusal;  // nullptr: the values can be dialled
};

const RefusalCase kRefusalCases[] = {
    {"PlainValues", L"Work", L"ali", L"secret", nullptr},
    {"AllEmpty", L"", L"", L"", nullptr},
    {"SlashInsideOrAtTheEnd", L"Work/2", L"dom/ali", L"secret/", nullptr},
    {"BlankBeforeTheSlash", L" /PHONE:10.9.9.9", L"ali", L"secret", nullptr},  // quoted as a whole: no switch
    {"BackslashIsNoSwitch", L"\\Work", L"\\ali", L"\\x", nullptr},
    {"Entry", L"/PHONE:10.9.9.9", L"ali", L"secret",
     L"The name in \"نام اتصال VPN\" begins with \"/\", which rasdial would read as a switch of its own. Type the "
     L"name of the VPN connection as Windows shows it"},
    {"EntryIsJustASlash", L"/", L"", L"",
     L"The name in \"نام اتصال VPN\" begins with \"/\", which rasdial would read as a switch of its own. Type the "
     L"name of the VPN connection as Windows shows it"},
    {"User", L"Work", L"/DISCONNECT", L"secret",
     L"The user in \"VPN User\" begins with \"/\", which rasdial would read as a switch of its own. Leave \"VPN "
     L"User\" and \"VPN password\" empty to dial with the sign-in Windows keeps for the connection"},
    {"Password", L"Work", L"ali", L"/x9",
     L"The password in \"VPN password\" begins with \"/\", which rasdial would read as a switch of its own. Leave "
     L"\"VPN User\" and \"VPN password\" empty to dial with the sign-in Windows keeps for the connection"},
    {"TheFirstFieldIsNamed", L"/a", L"/b", L"/c",
     L"The name in \"نام اتصال VPN\" begins with \"/\", which rasdial would read as a switch of its own. Type the "
     L"name of the VPN connection as Windows shows it"},
};

void PrintTo(const RefusalCase& c, std::ostream* out) { *out << c.name; }

class DialValueRefusalTest : public testing::TestWithParam<RefusalCase> {};

TEST_P(DialValueRefusalTest, RefusesAValueThatBeginsWithASlashNamingItsField) {
    const RefusalCase& c = GetParam();
    const std::optional<std::wstring> refusal = DialValueRefusal(c.entry, c.user, c.password);
    if (c.refusal) {
        EXPECT_EQ(refusal, std::optional<std::wstring>(c.refusal));
    } else {
        EXPECT_EQ(refusal, std::nullopt);
    }
}

INSTANTIATE_TEST_SUITE_P(Table, DialValueRefusalTest, testing::ValuesIn(kRefusalCases),
                         [](const testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });
}  // namespace
