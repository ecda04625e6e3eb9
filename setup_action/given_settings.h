#pragma once
// The settings an installation is given on msiexec's command line, and how they travel from the step that reads
// them to the step that stores them. Pure: no Windows header.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The package's public properties for the settings, as msiexec takes them: SERVER=10.0.0.5 VPNENTRY="Office VPN".
// There is none for the VPN password: msiexec logs its command line.
inline constexpr const wchar_t* kSettingProperties[] = {L"SERVER", L"WIFI", L"VPNENTRY", L"VPNUSER", L"USEVPN"};

struct GivenSettings {
    std::optional<std::wstring> wifi_network;
    std::optional<std::wstring> server_address;
    std::optional<bool> use_vpn;
    std::optional<std::wstring> vpn_entry;
    std::optional<std::wstring> vpn_user;

    bool Empty() const { return !wifi_network && !server_address && !use_vpn && !vpn_entry && !vpn_user; }
};

// A property and its value as the installer has it; an empty value is one not given (Windows Installer cannot
// tell the two apart).
using PropertyValues = std::vector<std::pair<std::wstring, std::wstring>>;

// The settings the properties give. Failure when USEVPN is neither 0 nor 1.
GivenSettings ReadGivenSettings(const PropertyValues& properties);

// What the step that reads the properties hands to the step that stores the settings, as one text (the only
// thing a deferred custom action is given): the program's folder and the properties' values.
struct SettingsHandOver {
    std::wstring folder;
    PropertyValues properties;
    bool operator==(const SettingsHandOver&) const = default;
};
// Each text as its length in decimal, a colon and the text, so that a value may hold any character.
std::wstring PackHandOver(const SettingsHandOver& hand_over);
// Failure on a text PackHandOver did not make.
SettingsHandOver UnpackHandOver(std::wstring_view text);
