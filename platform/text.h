#pragma once
// Conversions between UTF-16 and the active ANSI code page or UTF-8.
#include <string>
#include <string_view>

unsigned ActiveCodePage();

// Characters the code page lacks become its best fit or its default character, silently.
std::string WideToAnsi(std::wstring_view text);
std::wstring AnsiToWide(std::string_view bytes);
// What a console tool prints when it is not writing to a console window: its console's code page, the OEM one.
std::wstring OemToWide(std::string_view bytes);

std::string WideToUtf8(std::wstring_view text);
// Invalid sequences become U+FFFD.
std::wstring Utf8ToWide(std::string_view bytes);
