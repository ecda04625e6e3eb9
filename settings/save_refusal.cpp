#include "settings/save_refusal.h"

#include "settings/connection_file.h"
#include "settings/lone_line_break.h"

std::optional<std::wstring> SaveRefusal(const std::wstring& server, const std::wstring& wifi_network,
                                        const std::wstring& vpn_entry, const std::wstring& vpn_user,
                                        const std::wstring& vpn_password, const EightBitReading& read) {
    if (BreaksConnectionLine(server)) {
        return L"The address in \"Server IP\" holds a line break, which would add settings of its own to "
               L"Kavlo.rdp. Type the address on one line";
    }
    if (auto refusal = LoneLineBreakRefusal(wifi_network, vpn_entry, vpn_user, vpn_password)) return refusal;
    if (auto refusal = DialValueRefusal(vpn_entry, vpn_user, vpn_password, read)) return refusal;
    return WifiNetworkRefusal(wifi_network, read);
}
