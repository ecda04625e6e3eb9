#pragma once
// The sentences that tell the user why "Start" could not open the connection file. Pure: no Windows header.
#include <string>
#include <string_view>

// `full_path`: Kavlo.rdp in the current folder; `reason`: the shell's, Windows' text for its error; `missing`:
// whether the file is not there, when the sentence also says how to make it.
std::wstring ConnectionFileFailureText(std::wstring_view full_path, std::wstring_view reason, bool missing);

// Why "Start" opened nothing although Kavlo.rdp is there: the server field is blank and the file still holds the
// template's example address, and what to do about it.
std::wstring MissingServerAddressText();
