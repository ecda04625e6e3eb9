#pragma once
// The sentences that tell the user why the VPN dial or hang-up failed. Pure: no Windows header.
#include "launcher/dial_advice.h"

#include <string>
#include <string_view>

// `entry`: the dialled VPN entry; `error`: rasdial's exit code, a RAS error number; `windows_text`: Windows' own
// text for that number, empty when it has none; `sign_in`: how the dial signed in. What went wrong, then what to do
// about it (DialAdvice). The text carries its own final full stop.
std::wstring DialFailureText(std::wstring_view entry, unsigned long error, std::wstring_view windows_text,
                             DialSignIn sign_in);

// The same for the hang-up of `entry`.
std::wstring HangUpFailureText(std::wstring_view entry, unsigned long error, std::wstring_view windows_text);

// The sentences for a dial (watched for two minutes) and a hang-up (30 seconds) that rasdial did not finish in
// that time, and that were ended.
std::wstring DialStoppedText(std::wstring_view entry);
std::wstring HangUpStoppedText(std::wstring_view entry);

// Whether a hang-up's exit code is worth a box: not when it went well, nor when there was no such connection to
// hang up (nothing connected under that name, ERROR_NO_CONNECTION 668; no entry of that name,
// ERROR_CANNOT_FIND_PHONEBOOK_ENTRY 623), which is what clearing "VPN" usually meets.
bool HangUpFailed(unsigned long exit_code);
