#include "settings/save_refusal.h"

#include "settings/dial_values.h"
#include "settings/rdp_text.h"

std::optional<std::wstring> SaveRefusal(const std::wstring& server, const std::wstring& vpn_entry,
                                        const std::wstring& vpn_user, const std::wstring& vpn_password) {
    if (BreaksConnectionLine(server)) {
        return L"The address in \"Server IP\" holds a line break, which would add settings of its own to "
               L"Kavlo.rdp. Type the address on one line";
    }
    return DialValueRefusal(vpn_entry, vpn_user, vpn_password);
}
