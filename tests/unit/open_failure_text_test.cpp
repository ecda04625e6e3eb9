#include "launcher/open_failure_text.h"

#include <gtest/gtest.h>

TEST(ConnectionFileFailureTextTest, NamesTheFileGivesTheReasonAndSaysHowToMakeAMissingOne) {
    const std::wstring how_to_make =
        L" To make it, open FILE \u203A \"\u062A\u0646\u0638\u06CC\u0645\u0627\u062A "
        L"\u0633\u0631\u0648\u0631\", type the server address IT gave you in \"Server IP\" and press \"Save\": it is "
        L"written into this folder";
    const struct {
        std::wstring reason;
        bool missing;
        std::wstring text;
    } cases[] = {
        {L"The system cannot find the file specified.", true,
         L"Cannot open \"C:\\w\\Kavlo.rdp\": The system cannot find the file specified." + how_to_make},
        {L"File not found", true, L"Cannot open \"C:\\w\\Kavlo.rdp\": File not found." + how_to_make},
        {L"Access is denied", false, L"Cannot open \"C:\\w\\Kavlo.rdp\": Access is denied"},
    };
    for (const auto& c : cases) EXPECT_EQ(ConnectionFileFailureText(L"C:\\w\\Kavlo.rdp", c.reason, c.missing), c.text);
}

// A blank server with the template's example address: the address from IT, then "Save", in that order.
TEST(MissingServerAddressTextTest, SaysTheAddressIsMissingAndHowToTypeIt) {
    EXPECT_EQ(MissingServerAddressText(),
              L"The server address is missing: \"Server IP\" in the settings is empty, so Kavlo.rdp holds only an "
              L"example address, and nothing was opened. To connect, open FILE \u203A "
              L"\"\u062A\u0646\u0638\u06CC\u0645\u0627\u062A \u0633\u0631\u0648\u0631\", type the server address IT "
              L"gave you in \"Server IP\" and press \"Save\".");
}
