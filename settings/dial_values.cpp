#include "settings/dial_values.h"

namespace {
bool ReadAsSwitch(const std::wstring& value) { return !value.empty() && value.front() == L'/'; }
}  // namespace

std::optional<std::wstring> DialValueRefusal(const std::wstring& entry, const std::wstring& user,
                                             const std::wstring& password) {
    const std::wstring read_as_switch = L"begins with \"/\", which rasdial would read as a switch of its own. ";
    if (ReadAsSwitch(entry)) {
        return L"The name in \"نام اتصال VPN\" " + read_as_switch +
               L"Type the name of the VPN connection as Windows shows it";
    }
    // A user or password that must begin with "/" can still be used: Windows keeps it with the entry.
    const std::wstring keep_in_windows =
        L"Leave \"VPN User\" and \"VPN password\" empty to dial with the sign-in Windows keeps for the connection";
    if (ReadAsSwitch(user)) return L"The user in \"VPN User\" " + read_as_switch + keep_in_windows;
    if (ReadAsSwitch(password)) return L"The password in \"VPN password\" " + read_as_switch + keep_in_windows;
    return std::nullopt;
}
