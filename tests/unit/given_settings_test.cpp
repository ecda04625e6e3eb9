#include "setup_action/given_settings.h"

#include "failure_of.h"

#include <gtest/gtest.h>

namespace {

PropertyValues AllProperties(const wchar_t* server, const wchar_t* wifi, const wchar_t* entry, const wchar_t* user,
                             const wchar_t* use_vpn) {
    return {{L"SERVER", server}, {L"WIFI", wifi}, {L"VPNENTRY", entry}, {L"VPNUSER", user}, {L"USEVPN", use_vpn}};
}

TEST(GivenSettings, AnEmptyPropertyIsOneNotGiven) {
    const GivenSettings given = ReadGivenSettings(AllProperties(L"10.0.0.5:3389", L"", L"Office VPN", L"", L"1"));
    EXPECT_EQ(given.server_address, L"10.0.0.5:3389");
    EXPECT_EQ(given.wifi_network, std::nullopt);
    EXPECT_EQ(given.vpn_entry, L"Office VPN");
    EXPECT_EQ(given.vpn_user, std::nullopt);
    EXPECT_EQ(given.use_vpn, true);
    EXPECT_FALSE(given.Empty());
    EXPECT_TRUE(ReadGivenSettings(AllProperties(L"", L"", L"", L"", L"")).Empty());
    EXPECT_EQ(ReadGivenSettings(AllProperties(L"", L"", L"", L"", L"0")).use_vpn, false);
}

TEST(GivenSettings, UseVpnIsZeroOrOne) {
    for (const wchar_t* value : {L"yes", L"True", L"2", L" 1", L"01"}) {
        EXPECT_EQ(FailureOf([&] { ReadGivenSettings(AllProperties(L"", L"", L"", L"", value)); }),
                  L"USEVPN is 0 (no VPN) or 1 (dial the VPN entry first), not \"" + std::wstring(value) + L"\"")
            << testing::PrintToString(std::wstring(value));
    }
}

// Values hold whatever a property may: the packing's own colon and digits, brackets, quotes, nothing at all.
TEST(GivenSettings, HandedOverAsTheyWere) {
    const SettingsHandOver hand_over{L"C:\\Users\\Ana\\AppData\\Local\\Programs\\Kavlo Connect\\",
                                     {{L"SERVER", L"12:rds.example:3389"},
                                      {L"WIFI", L"[Office] \"5 GHz\""},
                                      {L"VPNUSER", L""},
                                      {L"VPNENTRY", L"مکتب"}}};
    const std::wstring packed = PackHandOver(hand_over);
    EXPECT_EQ(packed.substr(0, 4), L"50:C");
    EXPECT_EQ(UnpackHandOver(packed), hand_over);
    EXPECT_EQ(UnpackHandOver(PackHandOver({L"D:\\", {}})), (SettingsHandOver{L"D:\\", {}}));
}

TEST(GivenSettings, AMalformedHandOverFails) {
    const std::wstring malformed = L"The settings handed to the installer's settings step are malformed";
    for (const wchar_t* text : {L"", L"3:abc6:SERVER", L"9:short", L"x:1", L"3abc", L"2:ab1:", L"1234567890:a"}) {
        EXPECT_EQ(FailureOf([&] { UnpackHandOver(text); }), malformed) << testing::PrintToString(std::wstring(text));
    }
}

}  // namespace
