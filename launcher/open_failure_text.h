#pragma once
// The sentence that tells the user why "Start" could not open the connection file. Pure: no Windows header.
#include <string>
#include <string_view>

// `full_path`: Kavlo.rdp in the current folder; `reason`: the shell's, Windows' text for its error; `missing`:
// whether the file is not there, when the sentence also says how to make it.
std::wstring ConnectionFileFailureText(std::wstring_view full_path, std::wstring_view reason, bool missing);
