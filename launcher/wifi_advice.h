#pragma once
// What the user can do after netsh failed to join or leave the Wi-Fi network, where its exit code and what it
// printed tell which case it is. Pure: no Windows header.
#include <string>
#include <string_view>

enum class WifiAction { Join, Leave };

// `exit_code`, `printed`: netsh's, decoded. Empty for a run that went well; otherwise one or two plain sentences,
// each ending with its full stop. netsh speaks the display language: its English sentences are recognised, and
// the address of Windows' location page, which no translation changes.
std::wstring WifiAdvice(WifiAction action, unsigned long exit_code, std::wstring_view printed);
