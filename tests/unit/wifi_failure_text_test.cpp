#include "launcher/wifi_failure_text.h"

#include <gtest/gtest.h>

namespace {
// What the box can take of a page of output: its first non-blank lines, never an empty reason.
TEST(WifiFailureText, KeepsTheFirstLinesOfALongOutputAndNeverAnEmptyReason) {
    std::wstring page;
    for (int line = 1; line <= 40; ++line) page += L"line " + std::to_wstring(line) + L"\r\n\r\n";
    EXPECT_EQ(WifiLeaveFailureText(1, page),
              L"Could not leave the Wi-Fi network: line 1 line 2 line 3 line 4 line 5 line 6");
    EXPECT_EQ(WifiJoinFailureText(L"Office", 87, L" \r\n\t\r\n"),
              L"Could not join the Wi-Fi network \"Office\": netsh ended with exit code 87.");
    const std::wstring long_line(2000, L'x');
    const std::wstring text = WifiLeaveFailureText(1, long_line);
    EXPECT_LT(text.size(), 700u);
    EXPECT_EQ(text.back(), L'\u2026');
}
}  // namespace
