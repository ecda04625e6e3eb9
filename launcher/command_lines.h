#pragma once
// The parameters of the commands the launcher hands to the shell.
// A value goes in bare when the plain joining keeps it one word: not empty, no space, tab or double quote.
// Anything else is quoted so that CommandLineToArgvW gives it back exactly; this keeps a VPN entry such as
// "VPN Connection" whole and keeps an empty user from shifting the password into its place.
#include <optional>
#include <string>

// `value` as one argument: bare when it can be, otherwise enclosed in double quotes, with a quote inside
// written as \" and backslashes doubled only where they come before a quote or the closing quote.
std::wstring QuoteArgument(const std::wstring& value);

// rasdial's parameters: entry, user and password, each one argument. The password travels as typed. With user and
// password both empty, the entry alone: Windows then dials with the sign-in it keeps for the entry.
std::wstring DialParameters(const std::wstring& entry, const std::wstring& user, const std::wstring& password);

// The entry a hang-up names: the entry of this run's last dial (`dialled`), else the entry typed in the settings
// (`typed`); with neither, or an empty one, the fixed entry "Kavlo".
std::wstring HangUpEntry(const std::optional<std::wstring>& dialled, const std::wstring& typed);

// rasdial's hang-up parameters for `entry`. Two blanks before the switch, as always.
std::wstring HangUpParameters(const std::wstring& entry);

// netsh's parameters for joining the network: ssid=<name> name=<name>, the quotes (if any) around the name only.
std::wstring JoinWifiParameters(const std::wstring& network);
