#include "settings/lone_line_break.h"

#include "tests/support/refusal_texts.h"

#include <optional>
#include <string>

#include <gtest/gtest.h>

namespace {
TEST(LoneLineBreakRefusalTest, RefusesTheFirstFieldWithACarriageReturnOrLineFeedOnItsOwn) {
    const struct {
        const char* name;
        std::wstring wifi, entry, user, password;
        std::optional<std::wstring> refusal;
    } cases[] = {
        {"plain", L"Office", L"Work", L"ali", L"secret", std::nullopt},
        {"a CR LF pair is kept", L"Office", L"Work", L"ali", L"sec\r\nret", std::nullopt},
        {"Wi-Fi, CR", L"Office\r", L"Work", L"ali", L"secret", LineBreakRefusal(kWifiField)},
        {"entry, LF", L"Office", L"\nWork", L"ali", L"secret", LineBreakRefusal(kEntryField)},
        {"user, LF CR", L"Office", L"Work", L"a\n\rli", L"secret", LineBreakRefusal(kUserField)},
        {"password, CR before a pair", L"Office", L"Work", L"ali", L"sec\r\r\nret", LineBreakRefusal(kPasswordField)},
        {"the attack", L"", L"", L"", L"\r[Edit5: TcxPropertiesStoreComponent]\rText=\"evil.example\"",
         LineBreakRefusal(kPasswordField)},
        {"the first field is named", L"a\n", L"b\r", L"", L"", LineBreakRefusal(kWifiField)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LoneLineBreakRefusal(c.wifi, c.entry, c.user, c.password), c.refusal) << c.name;
}
}  // namespace
