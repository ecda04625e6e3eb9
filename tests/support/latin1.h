#pragma once
// Bytes as Latin-1 text, byte for character: the tests' stand-in for an 8-bit code page, the same on every machine.
#include <string>
#include <string_view>

inline std::wstring Latin1(std::string_view bytes) {
    std::wstring text;
    for (unsigned char c : bytes) text += static_cast<wchar_t>(c);
    return text;
}
