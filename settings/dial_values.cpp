#include "settings/dial_values.h"

#include <algorithm>

namespace {
bool BeginsWithASlash(std::wstring_view value) {
    const std::size_t first = value.find_first_not_of(L" \t");
    return first != std::wstring_view::npos && value[first] == L'/';
}

// What changes where a command line's arguments begin and end: the 8-bit form begins with a switch, or holds a
// quotation mark, a backslash (which escapes a quotation mark after it), a blank or a tab that was not typed.
bool ArrivesOtherwise(const std::wstring& typed, const EightBitReading& read) {
    const std::wstring received = read(typed);
    if (BeginsWithASlash(received) && !BeginsWithASlash(typed)) return true;
    constexpr std::wstring_view kSeparating = L"\"\\ \t";
    return std::any_of(kSeparating.begin(), kSeparating.end(), [&](wchar_t c) {
        return std::count(received.begin(), received.end(), c) > std::count(typed.begin(), typed.end(), c);
    });
}

const wchar_t kReadAsSwitch[] = L"begins with \"/\", which rasdial would read as a switch of its own. ";

std::wstring ArrivesOtherwiseIn(const wchar_t* tool) {
    return std::wstring(L"holds a character that ") + tool +
           L" may receive as \"/\", a quotation mark, a backslash, a blank or a tab, so it would not get the value as "
           L"typed. ";
}

// The refusal of one field's value: `what` names it ("The user in \"VPN User\" "), `remedy` ends the sentence.
std::optional<std::wstring> Refusal(const std::wstring& value, const EightBitReading& read, const std::wstring& what,
                                    const std::wstring& remedy) {
    if (BeginsWithASlash(value)) return what + kReadAsSwitch + remedy;
    if (ArrivesOtherwise(value, read)) return what + ArrivesOtherwiseIn(L"rasdial") + remedy;
    return std::nullopt;
}
}  // namespace

std::optional<std::wstring> DialValueRefusal(const std::wstring& entry, const std::wstring& user,
                                             const std::wstring& password, const EightBitReading& read) {
    if (auto refusal = Refusal(entry, read, L"The name in \"نام اتصال VPN\" ",
                               L"Type the name of the VPN connection as Windows shows it"))
        return refusal;
    // A user or password that must hold such a character can still be used: Windows keeps it with the entry.
    const std::wstring keep_in_windows =
        L"Leave \"VPN User\" and \"VPN password\" empty to dial with the sign-in Windows keeps for the connection";
    if (auto refusal = Refusal(user, read, L"The user in \"VPN User\" ", keep_in_windows)) return refusal;
    return Refusal(password, read, L"The password in \"VPN password\" ", keep_in_windows);
}

std::optional<std::wstring> WifiNetworkRefusal(const std::wstring& network, const EightBitReading& read) {
    if (!ArrivesOtherwise(network, read)) return std::nullopt;
    return L"The name in \"نام شبکه WIFI\" " + ArrivesOtherwiseIn(L"netsh") +
           L"Type the name of the Wi-Fi network as Windows shows it";
}
