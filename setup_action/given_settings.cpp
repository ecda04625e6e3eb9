#include "setup_action/given_settings.h"

#include "platform/failure.h"
#include "platform/quoted_value.h"

namespace {

// A value given: the property's text; nothing when it is empty.
std::optional<std::wstring> Given(const std::wstring& value) {
    return value.empty() ? std::nullopt : std::optional<std::wstring>(value);
}

std::optional<bool> GivenFlag(const std::wstring& value) {
    if (value.empty()) return std::nullopt;
    if (value == L"1") return true;
    if (value == L"0") return false;
    throw Failure(L"USEVPN is 0 (no VPN) or 1 (dial the VPN entry first), not \"" + QuotedValue(value) + L"\"");
}

Failure Malformed() { return Failure(L"The settings handed to the installer's settings step are malformed"); }

}  // namespace

GivenSettings ReadGivenSettings(const PropertyValues& properties) {
    GivenSettings given;
    for (const auto& [name, value] : properties) {
        if (name == L"SERVER") given.server_address = Given(value);
        if (name == L"WIFI") given.wifi_network = Given(value);
        if (name == L"VPNENTRY") given.vpn_entry = Given(value);
        if (name == L"VPNUSER") given.vpn_user = Given(value);
        if (name == L"USEVPN") given.use_vpn = GivenFlag(value);
    }
    return given;
}

std::wstring PackHandOver(const SettingsHandOver& hand_over) {
    std::wstring text;
    const auto add = [&text](const std::wstring& field) { text += std::to_wstring(field.size()) + L":" + field; };
    add(hand_over.folder);
    for (const auto& [name, value] : hand_over.properties) add(name), add(value);
    return text;
}

SettingsHandOver UnpackHandOver(std::wstring_view text) {
    std::vector<std::wstring> fields;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t length = 0, digits = 0;
        for (; at < text.size() && text[at] >= L'0' && text[at] <= L'9' && digits < 9; ++at, ++digits)
            length = length * 10 + static_cast<std::size_t>(text[at] - L'0');
        if (digits == 0 || at == text.size() || text[at] != L':' || text.size() - at - 1 < length) throw Malformed();
        fields.emplace_back(text.substr(at + 1, length));
        at += 1 + length;
    }
    if (fields.size() % 2 == 0) throw Malformed();  // the folder, then names and values in pairs
    SettingsHandOver hand_over{fields[0], {}};
    for (std::size_t i = 1; i < fields.size(); i += 2) hand_over.properties.emplace_back(fields[i], fields[i + 1]);
    return hand_over;
}
