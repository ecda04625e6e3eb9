#include "launcher/wifi_failure_text.h"

#include <gtest/gtest.h>

namespace {
std::wstring Page(int lines) {
    std::wstring page;
    for (int line = 1; line <= lines; ++line) page += L"line " + std::to_wstring(line) + L"\r\n\r\n";
    return page;
}

// What the box can take of a page of output: its first non-blank lines, trimmed, never an empty reason.
TEST(WifiFailureText, KeepsTheFirstLinesOfALongOutputAndNeverAnEmptyReason) {
    const std::wstring x600(600, L'x');
    const struct {
        std::wstring printed;
        std::wstring reason;
    } cases[] = {
        {Page(40), L"line 1 line 2 line 3 line 4 line 5 line 6"},
        {L"  There is no such wireless interface.\r\n", L"There is no such wireless interface."},
        {L"\tfirst \rsecond\n\x1F", L"first second"},
        {L"", L"netsh ended with exit code 1."},
        {x600, x600},                     // the most characters kept whole
        {x600 + L"x", x600 + L"\u2026"},  // one more is cut
        {x600 + L"\r\nnext", x600},       // no line after the most characters
        {std::wstring(2000, L'x'), x600 + L"\u2026"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WifiLeaveFailureText(1, c.printed), L"Could not leave the Wi-Fi network: " + c.reason)
            << testing::PrintToString(c.printed.substr(0, 60));
    }
    EXPECT_EQ(WifiJoinFailureText(L"Office", 87, L" \r\n\t\r\n"),
              L"Could not join the Wi-Fi network \"Office\": netsh ended with exit code 87.");
    // A name from the settings file is quoted on one line and cut short, as every value a box quotes.
    EXPECT_EQ(WifiJoinFailureText(L"Office\r\n\r\nConnected. Press OK." + std::wstring(100, L'x'), 1, L""),
              L"Could not join the Wi-Fi network \"Office    Connected. Press OK." + std::wstring(29, L'x') +
                  L"\u2026\": netsh ended with exit code 1.");
}
// netsh echoes the network's name: its words are shown with their bidirectional controls as escapes, as the name is.
TEST(WifiFailureText, ShowsBidirectionalControlsInNetshsWordsAndInTheName) {
    EXPECT_EQ(WifiJoinFailureText(L"Work\u202Eexe.txt", 1, L"There is no profile \"Work\u202Eexe.txt\".\r\n"),
              L"Could not join the Wi-Fi network \"Work<U+202E>exe.txt\": There is no profile "
              L"\"Work<U+202E>exe.txt\".");
    EXPECT_EQ(WifiLeaveFailureText(1, L"\u2066x\u2069\r\n"), L"Could not leave the Wi-Fi network: <U+2066>x<U+2069>");
}

TEST(WifiFailureText, SaysNetshWasStoppedAfterItsTime) {
    EXPECT_EQ(WifiJoinStoppedText(L"Office"),
              L"Could not join the Wi-Fi network \"Office\": netsh did not finish within 30 seconds and was stopped.");
    EXPECT_EQ(WifiLeaveStoppedText(),
              L"Could not leave the Wi-Fi network: netsh did not finish within 30 seconds and was stopped.");
}
}  // namespace
