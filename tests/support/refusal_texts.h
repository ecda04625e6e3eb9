#pragma once
// The refusals of typed values as the user reads them, for the rules' tables, their rows under each code page and
// the end-to-end table of the real program (whose box adds a full stop). Each is a sentence about one field, named
// as the refusal names it.
#include <string>

inline constexpr wchar_t kWifiField[] = L"The name in \"نام شبکه WIFI\"";
inline constexpr wchar_t kEntryField[] = L"The name in \"نام اتصال VPN\"";
inline constexpr wchar_t kUserField[] = L"The user in \"VPN User\"";
inline constexpr wchar_t kPasswordField[] = L"The password in \"VPN password\"";

// What to type instead, by the field.
inline constexpr wchar_t kEntryRemedy[] = L"Type the name of the VPN connection as Windows shows it";
inline constexpr wchar_t kSignInRemedy[] =
    L"Leave \"VPN User\" and \"VPN password\" empty to dial with the sign-in Windows keeps for the connection";
inline constexpr wchar_t kWifiRemedy[] = L"Type the name of the Wi-Fi network as Windows shows it";

// A value that begins with "/".
inline std::wstring SlashRefusal(const wchar_t* field, const wchar_t* remedy) {
    return std::wstring(field) + L" begins with \"/\", which rasdial would read as a switch of its own. " + remedy;
}

// A value whose 8-bit form `tool` (rasdial or netsh) would receive otherwise.
inline std::wstring LookAlikeRefusal(const wchar_t* field, const wchar_t* tool, const wchar_t* remedy) {
    return std::wstring(field) + L" holds a character that " + tool +
           L" may receive as \"/\", a quotation mark, a backslash, a blank or a tab, so it would not get the value as "
           L"typed. " +
           remedy;
}

// A value with a CR or LF on its own.
inline std::wstring LineBreakRefusal(const wchar_t* field) {
    return std::wstring(field) +
           L" holds a line break that the settings file cannot keep as typed. Type it again on one line";
}

inline const std::wstring kEntrySlash = SlashRefusal(kEntryField, kEntryRemedy);
inline const std::wstring kUserSlash = SlashRefusal(kUserField, kSignInRemedy);
inline const std::wstring kPasswordSlash = SlashRefusal(kPasswordField, kSignInRemedy);
inline const std::wstring kEntryLookAlike = LookAlikeRefusal(kEntryField, L"rasdial", kEntryRemedy);
inline const std::wstring kUserLookAlike = LookAlikeRefusal(kUserField, L"rasdial", kSignInRemedy);
inline const std::wstring kPasswordLookAlike = LookAlikeRefusal(kPasswordField, L"rasdial", kSignInRemedy);
inline const std::wstring kWifiLookAlike = LookAlikeRefusal(kWifiField, L"netsh", kWifiRemedy);
