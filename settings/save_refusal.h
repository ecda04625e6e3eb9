#pragma once
// What "Save" refuses before it writes either file. Pure: no Windows header.
#include <optional>
#include <string>

// The sentence that refuses the values, or nothing when they can be saved: a server address holding a line break
// (it would add settings of its own to Kavlo.rdp), then a VPN value that rasdial would read as a switch.
std::optional<std::wstring> SaveRefusal(const std::wstring& server, const std::wstring& vpn_entry,
                                        const std::wstring& vpn_user, const std::wstring& vpn_password);
