#include "launcher/wifi_failure_text.h"

#include "launcher/wifi_advice.h"

#include <gtest/gtest.h>

namespace {
const std::wstring kTellIt = L"If it keeps failing, tell IT what this box says.";

std::wstring Page(int lines) {
    std::wstring page;
    for (int line = 1; line <= lines; ++line) page += L"line " + std::to_wstring(line) + L"\r\n\r\n";
    return page;
}

// What the box can take of a page of output: its first non-blank lines, trimmed, never an empty reason; the advice
// follows as a sentence of its own.
TEST(WifiFailureText, KeepsTheFirstLinesOfALongOutputAndNeverAnEmptyReason) {
    const std::wstring x600(600, L'x');
    const struct {
        std::wstring printed;
        std::wstring reason;
    } cases[] = {
        {Page(40), L"line 1 line 2 line 3 line 4 line 5 line 6."},
        {L"  There is no such wireless interface.\r\n", L"There is no such wireless interface."},
        {L"\tfirst \rsecond\n\x1F", L"first second."},
        {L"", L"netsh ended with exit code 1."},
        {x600, x600 + L"."},                // the most characters kept whole
        {x600 + L"x", x600 + L"\u2026"},    // one more is cut
        {x600 + L"\r\nnext", x600 + L"."},  // no line after the most characters
        {std::wstring(2000, L'x'), x600 + L"\u2026"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WifiLeaveFailureText(1, c.printed),
                  L"Could not leave the Wi-Fi network: " + c.reason + L" " + kTellIt)
            << testing::PrintToString(c.printed.substr(0, 60));
    }
    EXPECT_EQ(WifiJoinFailureText(L"Office", 87, L" \r\n\t\r\n"),
              L"Could not join the Wi-Fi network \"Office\": netsh ended with exit code 87. " + kTellIt);
    // A name from the settings file is quoted on one line and cut short, as every value a box quotes.
    EXPECT_EQ(WifiJoinFailureText(L"Office\r\n\r\nConnected. Press OK." + std::wstring(100, L'x'), 1, L""),
              L"Could not join the Wi-Fi network \"Office    Connected. Press OK." + std::wstring(29, L'x') +
                  L"\u2026\": netsh ended with exit code 1. " + kTellIt);
}

// netsh's words say which case it is; each case has its own advice, for joining and leaving alike, but for the
// profile, which only joining needs.
TEST(WifiAdvice, TellsTheCaseFromWhatNetshPrinted) {
    const std::wstring no_profile =
        L"This computer has not joined that network before: connect to it once from Windows' Wi-Fi list (the network "
        L"icon on the taskbar), then use \"CONNECT WiFi\".";
    const std::wstring switched_off =
        L"Switch Wi-Fi on (Settings \u203A Network & internet \u203A Wi-Fi) and make sure airplane mode is off, then "
        L"try again.";
    const std::wstring location =
        L"Windows lets netsh use Wi-Fi only with location access: turn on \"Location services\" and \"Let apps access "
        L"your location\" (and \"Let desktop apps access your location\") under Settings \u203A Privacy & security "
        L"\u203A Location, then try again.";
    const std::wstring location_page =
        L"Network shell commands need location permission to access WLAN information. Turn on Location services on "
        L"the Location page in Privacy & security settings.\r\n\r\nHere is the URI for the Location page in the "
        L"Settings app:\r\nms-settings:privacy-location\r\n";
    const struct {
        const char* name;
        std::wstring printed;
        std::wstring join;
        std::wstring leave;
    } cases[] = {
        {"NoProfile", L"There is no profile \"Office\" assigned to the specified interface.\r\n", no_profile, kTellIt},
        {"PoweredDown",
         L"The wireless local area network interface is powered down and doesn't support the requested operation.\r\n",
         switched_off, switched_off},
        {"NoInterface", L"There is no wireless interface on the system.\r\n", switched_off, switched_off},
        {"ServiceStopped", L"The Wireless AutoConfig Service (wlansvc) is not running.\r\n", switched_off,
         switched_off},
        {"Location", location_page, location, location},
        // Another display language: the page's address is not translated.
        {"LocationInPersian",
         L"\u062F\u0633\u062A\u0631\u0633\u06CC \u0628\u0647 \u0645\u06A9\u0627\u0646\r\n"
         L"ms-settings:privacy-location\r\n",
         location, location},
        {"LetterCase", L"THERE IS NO PROFILE \"Office\".", no_profile, kTellIt},
        {"Unknown", L"The network specified by profile \"Office\" is not available to connect.\r\n", kTellIt, kTellIt},
        {"NothingPrinted", L"", kTellIt, kTellIt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WifiAdvice(WifiAction::Join, 1, c.printed), c.join) << c.name;
        EXPECT_EQ(WifiAdvice(WifiAction::Leave, 1, c.printed), c.leave) << c.name;
        EXPECT_EQ(WifiAdvice(WifiAction::Join, 0, c.printed), L"") << c.name << ": a run that went well";
    }
    EXPECT_EQ(WifiJoinFailureText(L"Office", 1, L"There is no profile \"Office\" assigned to the specified interface."),
              L"Could not join the Wi-Fi network \"Office\": There is no profile \"Office\" assigned to the specified "
              L"interface. " +
                  no_profile);
}
// netsh echoes the network's name: its words are shown with their bidirectional controls as escapes, as the name is.
TEST(WifiFailureText, ShowsBidirectionalControlsInNetshsWordsAndInTheName) {
    // The advice after them reads netsh's words as printed.
    EXPECT_EQ(WifiJoinFailureText(L"Work\u202Eexe.txt", 1, L"There is no profile \"Work\u202Eexe.txt\".\r\n"),
              L"Could not join the Wi-Fi network \"Work<U+202E>exe.txt\": There is no profile "
              L"\"Work<U+202E>exe.txt\". This computer has not joined that network before: connect to it once from "
              L"Windows' Wi-Fi list (the network icon on the taskbar), then use \"CONNECT WiFi\".");
    EXPECT_EQ(
        WifiLeaveFailureText(1, L"\u2066x\u2069\r\n"),
        L"Could not leave the Wi-Fi network: <U+2066>x<U+2069>. If it keeps failing, tell IT what this box says.");
}

TEST(WifiFailureText, SaysNetshWasStoppedAfterItsTime) {
    EXPECT_EQ(WifiJoinStoppedText(L"Office"),
              L"Could not join the Wi-Fi network \"Office\": netsh did not finish within 30 seconds and was stopped.");
    EXPECT_EQ(WifiLeaveStoppedText(),
              L"Could not leave the Wi-Fi network: netsh did not finish within 30 seconds and was stopped.");
}
}  // namespace
