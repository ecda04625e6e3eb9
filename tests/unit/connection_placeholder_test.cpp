#include "settings/connection_placeholder.h"

#include "settings/connection_file.h"
#include "tests/support/rdp_template.h"

#include <gtest/gtest.h>

// "Start" opens nothing for a blank server while the file holds the template's example address; any server typed,
// that very address included, is the user's.
TEST(LacksServerAddressTest, OnlyABlankServerWithTheExampleAddress) {
    const std::wstring template_text = RdpTemplateText();
    const std::wstring as_saved_blank = GenerateConnectionText(template_text, L"");
    const std::wstring as_saved_with_server = GenerateConnectionText(template_text, L"10.0.0.5:3389");
    const struct {
        const char* name;
        std::wstring server;
        std::wstring file;
        bool lacks;
    } cases[] = {
        {"SavedBlank", L"", as_saved_blank, true},
        {"BlanksOnly", L" \t\r\n", as_saved_blank, true},
        {"TypedAfterTheSave", L"10.0.0.5", as_saved_blank, false},
        {"TheExampleTyped", L"192.168.1.1:7777", as_saved_blank, false},
        {"NoBreakSpaceIsNoBlank", L"\u00A0", as_saved_blank, false},
        {"SavedWithAServerThenCleared", L"", as_saved_with_server, false},
        {"LfOnly", L"", L"screen mode id:i:2\nfull address:s:192.168.1.1:7777\n", true},
        {"LastLineWithoutBreak", L"", L"full address:s:192.168.1.1:7777", true},
        {"SecondAddressLine", L"", L"full address:s:10.0.0.5\r\nfull address:s:192.168.1.1:7777\r\n", true},
        {"AnotherPort", L"", L"full address:s:192.168.1.1:7778\r\n", false},
        {"KeyInOtherLetters", L"", L"Full Address:s:192.168.1.1:7777\r\n", false},
        {"NoAddressLine", L"", L"screen mode id:i:2\r\n", false},
        {"Empty", L"", L"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(LacksServerAddress(c.server, c.file, template_text), c.lacks) << c.name;
}

// The example is whatever the template's address line holds, not a second copy of it.
TEST(LacksServerAddressTest, TheExampleComesFromTheTemplate) {
    const std::wstring other_template = L"screen mode id:i:2\r\nfull address:s:example.invalid\r\n";
    EXPECT_TRUE(LacksServerAddress(L"", L"full address:s:example.invalid\r\n", other_template));
    EXPECT_FALSE(LacksServerAddress(L"", L"full address:s:192.168.1.1:7777\r\n", other_template));
    EXPECT_FALSE(LacksServerAddress(L"", L"full address:s:192.168.1.1:7777\r\n", L"screen mode id:i:2\r\n"))
        << "a template without an address line has no example";
}
