#pragma once
// What scripts/package checks of an organisation's setup_a.ini and Kavlo.rdp before it bakes them into the package.
// Pure: no Windows header, built for the machine that builds the package.
#include "settings/ini_file.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The settings the checks look at, as the program restores them from the file's bytes (the server address and
// the VPN password; an entry the program would not restore reads as empty). Failure where the program's restore
// fails too.
struct BakedSettings {
    std::wstring server_address;
    std::wstring vpn_password;
};
BakedSettings ReadBakedSettings(const std::vector<std::uint8_t>& bytes, const AnsiDecoder& decode_ansi);

// Whether the connection file points at `server` as "Save" compares the two when it decides to keep a signed
// Kavlo.rdp: its one "full address:s:" line holds the server exactly. The one place the bake check compares them.
bool ConnectionFileIsFor(const std::vector<std::uint8_t>& connection_file, std::wstring_view server,
                         const AnsiDecoder& decode_ansi);
