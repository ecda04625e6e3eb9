#include "launcher/dial_failure_text.h"

#include "platform/failure_text.h"

#include <utility>

#include <gtest/gtest.h>

TEST(DialFailureTextTest, NamesTheEntryGivesWindowsReasonAndEndsWithTheNumber) {
    struct Case {
        std::wstring entry;
        unsigned long error;
        const wchar_t* windows_text;
        std::wstring sentence;
    };
    const Case cases[] = {
        {L"Work", 691, L"Access was denied because the username and/or password was invalid on the domain.\r\n",
         L"The VPN connection \"Work\" could not be dialled: Access was denied because the username and/or "
         L"password was invalid on the domain. (error 691)."},
        {L"Work", 800, L"Unable to establish the VPN connection",
         L"The VPN connection \"Work\" could not be dialled: Unable to establish the VPN connection. (error 800)."},
        {L"Work", 691, L"", L"The VPN connection \"Work\" could not be dialled: error 691."},
        {L"VPN Connection", 623, L" \t\r\n", L"The VPN connection \"VPN Connection\" could not be dialled: error 623."},
        {L"اتصال شرکت", 868, L"Name not resolved.",
         L"The VPN connection \"اتصال شرکت\" could not be dialled: Name not resolved. (error 868)."},
        {L"", 3221225477ul, L"", L"The VPN connection \"\" could not be dialled: error 3221225477."},
        // An entry from the settings file is quoted on one line and cut short, as every value a box quotes.
        {L"Work\r\nDialled. Press OK. " + std::wstring(49, L'x'), 691, L"",
         L"The VPN connection \"Work  Dialled. Press OK. " + std::wstring(34, L'x') +
             L"\u2026\" could not be dialled: error 691."},
    };
    for (const Case& c : cases) {
        std::wstring sentence = DialFailureText(c.entry, c.error, c.windows_text, DialSignIn::Typed);
        EXPECT_EQ(sentence, c.sentence + L" " + DialAdvice(c.error, DialSignIn::Typed));
        EXPECT_EQ(FailureBoxText(Failure(sentence)), sentence) << "the box adds no second full stop";
    }
}

TEST(HangUpFailureTextTest, SaysTheHangUpFailedInWindowsWords) {
    EXPECT_EQ(HangUpFailureText(L"Work", 5, L"Access is denied.\r\n"),
              L"The VPN connection \"Work\" could not be hung up: Access is denied. (error 5).");
    EXPECT_EQ(HangUpFailureText(L"Kavlo", 631, L""), L"The VPN connection \"Kavlo\" could not be hung up: error 631.");
}

TEST(DialStoppedTextTest, SaysRasdialWasStoppedAfterItsTime) {
    EXPECT_EQ(DialStoppedText(L"Work\u202Eexe.txt"),
              L"The VPN connection \"Work<U+202E>exe.txt\" could not be dialled: rasdial did not finish within two "
              L"minutes and was stopped.");
    EXPECT_EQ(HangUpStoppedText(L"Work"),
              L"The VPN connection \"Work\" could not be hung up: rasdial did not finish within 30 seconds and was "
              L"stopped.");
}

// Clearing "VPN" with nothing connected under that name is no failure; anything else is.
TEST(HangUpFailedTest, AllButNoSuchConnectionIsReported) {
    const std::pair<unsigned long, bool> cases[] = {{0, false},  {668, false}, {623, false},
                                                    {5, true},   {631, true},  {1, true},
                                                    {669, true}, {622, true},  {3221225477ul, true}};
    for (const auto& [code, reported] : cases) EXPECT_EQ(HangUpFailed(code), reported) << code;
}
