#pragma once
// Which typed values the settings file cannot give back as typed. Pure: no Windows header.
// The file keeps a line break inside a value as the pair CR LF; a carriage return or a line feed on its own (left by
// a paste, or put there by another program) would come back as something else, and the next dial would fail. "Save"
// refuses such a value before anything is written.
#include <optional>
#include <string>

// The sentence that refuses the first of the Wi-Fi network, VPN entry, user and password that holds a carriage
// return or a line feed not paired as CR LF, naming its field by the field's label; nothing when all can be kept.
std::optional<std::wstring> LoneLineBreakRefusal(const std::wstring& wifi_network, const std::wstring& entry,
                                                 const std::wstring& user, const std::wstring& password);
