#pragma once
// The sentence that tells the user why the VPN dial failed. Pure: no Windows header.
#include <string>
#include <string_view>

// `entry`: the dialled VPN entry; `error`: rasdial's exit code, a RAS error number; `windows_text`: Windows' own
// text for that number, empty when it has none. The sentence carries its own final full stop.
std::wstring DialFailureText(std::wstring_view entry, unsigned long error, std::wstring_view windows_text);
