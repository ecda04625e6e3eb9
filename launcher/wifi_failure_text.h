#pragma once
// The sentences that tell the user why joining or leaving the Wi-Fi network failed, in netsh's own words. Pure: no
// Windows header.
#include <string>
#include <string_view>

// `network`: the network named in the settings; `exit_code`: netsh's; `printed`: what it printed, decoded. Its
// non-blank lines, trimmed and joined by blanks, end the sentence (the first few, when it printed a page), with
// their bidirectional controls shown as escapes (netsh echoes the network's name); when it printed nothing, its
// exit code does. What to do about it follows (WifiAdvice, which reads the words before the escapes).
std::wstring WifiJoinFailureText(std::wstring_view network, unsigned long exit_code, std::wstring_view printed);
std::wstring WifiLeaveFailureText(unsigned long exit_code, std::wstring_view printed);

// The sentences for a netsh that did not finish within its 30 seconds, and was ended.
std::wstring WifiJoinStoppedText(std::wstring_view network);
std::wstring WifiLeaveStoppedText();
