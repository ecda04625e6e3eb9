#pragma once
// A test copy of the settings dialog's connection template, line by line (each line ends with CR LF in the text).
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

inline constexpr std::array<std::string_view, 46> kRdpTemplateLines = {
    "screen mode id:i:2",
    "use multimon:i:0",
    "desktopwidth:i:1920",
    "desktopheight:i:1080",
    "session bpp:i:32",
    "winposstr:s:0,3,0,0,800,600",
    "compression:i:1",
    "keyboardhook:i:2",
    "audiocapturemode:i:0",
    "videoplaybackmode:i:1",
    "connection type:i:7",
    "networkautodetect:i:1",
    "bandwidthautodetect:i:1",
    "displayconnectionbar:i:1",
    "enableworkspacereconnect:i:0",
    "disable wallpaper:i:0",
    "allow font smoothing:i:0",
    "allow desktop composition:i:0",
    "disable full window drag:i:1",
    "disable menu anims:i:1",
    "disable themes:i:0",
    "disable cursor setting:i:0",
    "bitmapcachepersistenable:i:1",
    "full address:s:192.168.1.1:7777",
    "audiomode:i:0",
    "redirectprinters:i:1",
    "redirectcomports:i:0",
    "redirectsmartcards:i:1",
    "redirectclipboard:i:1",
    "redirectposdevices:i:0",
    "autoreconnection enabled:i:1",
    "authentication level:i:2",
    "prompt for credentials:i:0",
    "negotiate security layer:i:1",
    "remoteapplicationmode:i:0",
    "alternate shell:s:",
    "shell working directory:s:",
    "gatewayhostname:s:",
    "gatewayusagemethod:i:4",
    "gatewaycredentialssource:i:4",
    "gatewayprofileusagemethod:i:0",
    "promptcredentialonce:i:0",
    "gatewaybrokeringtype:i:0",
    "use redirection server name:i:0",
    "rdgiskdcproxy:i:0",
    "kdcproxyname:s:",
};
inline constexpr std::size_t kRdpAddressLineIndex = 23;

inline std::wstring RdpTemplateText() {
    std::wstring text;
    for (const auto line : kRdpTemplateLines) {
        text.append(line.begin(), line.end());
        text += L"\r\n";
    }
    return text;
}

// The bytes a connection file should hold: the template with `address_line` (already encoded) as its address line.
inline std::vector<std::uint8_t> RdpFileWithAddressLine(std::string_view address_line) {
    std::string bytes;
    for (std::size_t i = 0; i < kRdpTemplateLines.size(); ++i) {
        bytes += i == kRdpAddressLineIndex ? address_line : kRdpTemplateLines[i];
        bytes += "\r\n";
    }
    return {bytes.begin(), bytes.end()};
}
