#include "launcher/wifi_advice.h"

#include "platform/ascii_case.h"

#include <algorithm>
#include <initializer_list>

namespace {

// Whether `printed` holds one of `phrases`, letter case aside; the phrases are lower case.
bool Says(std::wstring_view printed, std::initializer_list<std::wstring_view> phrases) {
    return std::any_of(phrases.begin(), phrases.end(), [printed](std::wstring_view phrase) {
        return std::search(printed.begin(), printed.end(), phrase.begin(), phrase.end(),
                           [](wchar_t a, wchar_t b) { return AsciiLower(a) == b; }) != printed.end();
    });
}

}  // namespace

std::wstring WifiAdvice(WifiAction action, unsigned long exit_code, std::wstring_view printed) {
    if (exit_code == 0) return {};
    // Windows 11 lets netsh's Wi-Fi commands work only for a user who lets apps use the location; netsh then names
    // the location page by its address.
    if (Says(printed, {L"ms-settings:privacy-location", L"location permission"})) {
        return L"Windows lets netsh use Wi-Fi only with location access: turn on \"Location services\" and \"Let "
               L"apps access your location\" (and \"Let desktop apps access your location\") under Settings \u203A "
               L"Privacy & security \u203A Location, then try again.";
    }
    // Wi-Fi switched off ("powered down"), the adapter switched off, or the Wi-Fi service stopped.
    if (Says(printed, {L"powered down", L"no wireless interface", L"wlansvc"})) {
        return L"Switch Wi-Fi on (Settings \u203A Network & internet \u203A Wi-Fi) and make sure airplane mode is "
               L"off, then try again.";
    }
    // netsh joins only a network Windows already knows, through the profile it saved on the first connection.
    if (action == WifiAction::Join && Says(printed, {L"there is no profile"})) {
        return L"This computer has not joined that network before: connect to it once from Windows' Wi-Fi list "
               L"(the network icon on the taskbar), then use \"CONNECT WiFi\".";
    }
    return L"If it keeps failing, tell IT what this box says.";
}
