#pragma once
// What "Save" refuses before it writes either file. Pure: no Windows header.
#include "settings/dial_values.h"

#include <optional>
#include <string>

// The sentence that refuses the values, or nothing when they can be saved: a server address holding a line break
// (it would add settings of its own to Kavlo.rdp), a lone CR or LF in another field (the settings file would not
// give it back as typed), then a VPN value or Wi-Fi name that rasdial or netsh would not receive as typed, `read`
// telling how an 8-bit program receives a value.
std::optional<std::wstring> SaveRefusal(const std::wstring& server, const std::wstring& wifi_network,
                                        const std::wstring& vpn_entry, const std::wstring& vpn_user,
                                        const std::wstring& vpn_password, const EightBitReading& read);
