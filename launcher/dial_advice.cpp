#include "launcher/dial_advice.h"

#include "launcher/settings_menu.h"

#include <algorithm>
#include <initializer_list>

namespace {

// What the numbers mean for the user, from Windows' texts for them (raserror.h). A number in none of the lists
// gets the number to tell IT.
enum class Cause { SignInRefused, AccountRefused, Unreachable, NoSuchEntry, NeedsWindowsSignIn, Certificate, Policy };

struct Numbers {
    Cause cause;
    std::initializer_list<unsigned long> errors;
};

const Numbers kCauses[] = {
    // The user name and password were not accepted, or the stored ones could not be used.
    {Cause::SignInRefused, {691, 739}},
    // The account itself: not at this hour, switched off, password or account expired, no permission to dial in.
    {Cause::AccountRefused, {646, 647, 648, 649, 708}},
    // The server did not answer, could not be found or the way to it broke off: mostly this computer's internet.
    {Cause::Unreachable,
     {619, 628, 629, 638, 650, 651, 678, 718, 721, 769, 771, 774, 800, 806, 807, 809, 815, 829, 868}},
    // The entry, or the user's whole phone book, is not there.
    {Cause::NoSuchEntry, {621, 622, 623}},
    // The entry asks for something rasdial cannot show: a sign-in window, a choice.
    {Cause::NeedsWindowsSignIn, {703, 877}},
    // A certificate missing, expired, revoked or not trusted, on either side.
    {Cause::Certificate, {766, 778, 781, 786, 790, 798, 801, 810, 835, 853, 854, 855,
                          856, 857, 858, 859, 860, 861, 862, 863, 864, 865, 866, 874}},
    // The server turned this computer away: protocols, encryption, tunnel type, policies, compliance.
    {Cause::Policy, {720, 731, 733, 735, 738, 741, 742, 770, 775, 795, 808, 811, 812, 836, 875}},
};

std::wstring TellIt(unsigned long error) { return L"tell IT the error number, " + std::to_wstring(error) + L"."; }

std::wstring SignInAdvice(DialSignIn sign_in) {
    if (sign_in == DialSignIn::SavedInWindows) {
        return L"The VPN user name and password are empty in the settings, so Windows used the sign-in it keeps for "
               L"this VPN: check that sign-in under Settings \u203A Network & internet \u203A VPN, or type the user "
               L"name and password in " +
               std::wstring(kSettingsMenuCommand) + L".";
    }
    return L"Check the VPN user name and password in " + std::wstring(kSettingsMenuCommand) + L", then try again.";
}

}  // namespace

std::wstring DialAdvice(unsigned long error, DialSignIn sign_in) {
    const auto found = std::find_if(std::begin(kCauses), std::end(kCauses), [error](const Numbers& numbers) {
        return std::find(numbers.errors.begin(), numbers.errors.end(), error) != numbers.errors.end();
    });
    if (found == std::end(kCauses)) return L"Tell IT the error number, " + std::to_wstring(error) + L".";
    switch (found->cause) {
        case Cause::SignInRefused:
            return SignInAdvice(sign_in);
        case Cause::AccountRefused:
            return L"The VPN server does not let this account connect (it may be locked or expired, or not allowed "
                   L"at this time): " +
                   TellIt(error);
        case Cause::Unreachable:
            return L"Check that this computer is connected to the internet, then try again.";
        case Cause::NoSuchEntry:
            return L"There is no VPN by that name for this Windows user: it must be listed under Settings \u203A "
                   L"Network & internet \u203A VPN with exactly the name given in the settings. Ask IT to set it up.";
        case Cause::NeedsWindowsSignIn:
            return L"This VPN needs a sign-in that this program cannot ask for: connect once from Settings \u203A "
                   L"Network & internet \u203A VPN with \"Remember my sign-in info\" ticked, then leave the VPN user "
                   L"name and password empty in the settings and press \"Start\".";
        case Cause::Certificate:
            return L"A certificate this VPN needs is missing or not valid on this computer: " + TellIt(error);
        case Cause::Policy:
            return L"The VPN server refused this computer: " + TellIt(error);
    }
    return {};
}
