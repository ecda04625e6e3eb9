#include "launcher/dial_advice.h"

#include "launcher/dial_failure_text.h"
#include "platform/failure_text.h"

#include <gtest/gtest.h>

namespace {
const std::wstring kSettings = L"FILE \u203A \"\u062A\u0646\u0638\u06CC\u0645\u0627\u062A \u0633\u0631\u0648\u0631\"";
const std::wstring kReach = L"Check that this computer is connected to the internet, then try again.";
const std::wstring kNoEntry =
    L"There is no VPN by that name for this Windows user: it must be listed under Settings \u203A Network & internet "
    L"\u203A VPN with exactly the name given in the settings. Ask IT to set it up.";
const std::wstring kWindowsSignIn =
    L"This VPN needs a sign-in that this program cannot ask for: connect once from Settings \u203A Network & "
    L"internet \u203A VPN with \"Remember my sign-in info\" ticked, then leave the VPN user name and password empty "
    L"in the settings and press \"Start\".";

std::wstring Certificate(const wchar_t* number) {
    return L"A certificate this VPN needs is missing or not valid on this computer: tell IT the error number, " +
           std::wstring(number) + L".";
}
std::wstring Policy(const wchar_t* number) {
    return L"The VPN server refused this computer: tell IT the error number, " + std::wstring(number) + L".";
}
std::wstring Account(const wchar_t* number) {
    return L"The VPN server does not let this account connect (it may be locked or expired, or not allowed at this "
           L"time): tell IT the error number, " +
           std::wstring(number) + L".";
}
}  // namespace

// Every number a user is likely to meet, by what they can do about it; a sign-in typed in the settings.
TEST(DialAdviceTest, TellsWhatToDoForEachNumber) {
    const struct {
        unsigned long error;
        std::wstring advice;
    } cases[] = {
        {691, L"Check the VPN user name and password in " + kSettings + L", then try again."},
        {739, L"Check the VPN user name and password in " + kSettings + L", then try again."},
        {648, Account(L"648")},
        {647, Account(L"647")},
        {868, kReach},
        {800, kReach},
        {809, kReach},
        {651, kReach},
        {815, kReach},
        {718, kReach},
        {619, kReach},
        {678, kReach},
        {623, kNoEntry},
        {621, kNoEntry},
        {703, kWindowsSignIn},
        {798, Certificate(L"798")},
        {766, Certificate(L"766")},
        {853, Certificate(L"853")},
        {720, Policy(L"720")},
        {731, Policy(L"731")},
        {812, Policy(L"812")},
        {808, Policy(L"808")},
        {5, L"Tell IT the error number, 5."},
        {631, L"Tell IT the error number, 631."},
        {3221225477ul, L"Tell IT the error number, 3221225477."},
    };
    for (const auto& c : cases) EXPECT_EQ(DialAdvice(c.error, DialSignIn::Typed), c.advice) << c.error;
}

// With user and password both empty, Windows signed in with what it keeps for the entry: that is what to check.
// The sign-in matters to a refused sign-in alone.
TEST(DialAdviceTest, ARefusedSavedSignInPointsAtWindowsVpnSettings) {
    const std::wstring saved =
        L"The VPN user name and password are empty in the settings, so Windows used the sign-in it keeps for this "
        L"VPN: check that sign-in under Settings \u203A Network & internet \u203A VPN, or type the user name and "
        L"password in " +
        kSettings + L".";
    EXPECT_EQ(DialAdvice(691, DialSignIn::SavedInWindows), saved);
    for (unsigned long other : {868ul, 623ul, 703ul, 798ul, 812ul, 1ul})
        EXPECT_EQ(DialAdvice(other, DialSignIn::SavedInWindows), DialAdvice(other, DialSignIn::Typed)) << other;
}

// The box keeps the first sentence, Windows' text and the number, and the advice follows.
TEST(DialAdviceTest, FollowsTheReasonInTheDialsBox) {
    const std::wstring text =
        DialFailureText(L"Work", 691, L"The remote connection was denied.\r\n", DialSignIn::Typed);
    EXPECT_EQ(text,
              L"The VPN connection \"Work\" could not be dialled: The remote connection was denied. (error 691). " +
                  DialAdvice(691, DialSignIn::Typed));
    EXPECT_EQ(FailureBoxText(Failure(text)), text) << "the text carries its own full stop";
    EXPECT_EQ(DialFailureText(L"Work", 868, L"", DialSignIn::Typed),
              L"The VPN connection \"Work\" could not be dialled: error 868. " + kReach);
}
