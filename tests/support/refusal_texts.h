#pragma once
// The refusals of typed values as the user reads them, written out once for the rules' tables, their rows under each
// code page and the end-to-end table of the real program (whose box adds a full stop).

inline constexpr const wchar_t* kEntrySlash =
    L"The name in \"نام اتصال VPN\" begins with \"/\", which rasdial would read as a switch of its own. Type the "
    L"name of the VPN connection as Windows shows it";
inline constexpr const wchar_t* kUserSlash =
    L"The user in \"VPN User\" begins with \"/\", which rasdial would read as a switch of its own. Leave \"VPN "
    L"User\" and \"VPN password\" empty to dial with the sign-in Windows keeps for the connection";
inline constexpr const wchar_t* kPasswordSlash =
    L"The password in \"VPN password\" begins with \"/\", which rasdial would read as a switch of its own. Leave "
    L"\"VPN User\" and \"VPN password\" empty to dial with the sign-in Windows keeps for the connection";
inline constexpr const wchar_t* kEntryLookAlike =
    L"The name in \"نام اتصال VPN\" holds a character that rasdial may receive as \"/\", a quotation mark, a "
    L"backslash, a blank or a tab, so it would not get the value as typed. Type the name of the VPN connection as "
    L"Windows shows it";
inline constexpr const wchar_t* kUserLookAlike =
    L"The user in \"VPN User\" holds a character that rasdial may receive as \"/\", a quotation mark, a backslash, a "
    L"blank or a tab, so it would not get the value as typed. Leave \"VPN User\" and \"VPN password\" empty to dial "
    L"with the sign-in Windows keeps for the connection";
inline constexpr const wchar_t* kPasswordLookAlike =
    L"The password in \"VPN password\" holds a character that rasdial may receive as \"/\", a quotation mark, a "
    L"backslash, a blank or a tab, so it would not get the value as typed. Leave \"VPN User\" and \"VPN password\" "
    L"empty to dial with the sign-in Windows keeps for the connection";
inline constexpr const wchar_t* kWifiLookAlike =
    L"The name in \"نام شبکه WIFI\" holds a character that netsh may receive as \"/\", a quotation mark, a "
    L"backslash, a blank or a tab, so it would not get the value as typed. Type the name of the Wi-Fi network as "
    L"Windows shows it";
inline constexpr const wchar_t* kLoneLineBreak =
    L" holds a line break that the settings file cannot keep as typed. Type it again on one line";
