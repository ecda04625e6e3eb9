#pragma once
// Letter case of the ASCII letters alone, as names in files and tools' output are compared: every other character
// stays as it is, whatever the user's locale. Pure.
#include <algorithm>
#include <string>
#include <string_view>

inline wchar_t AsciiLower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c + (L'a' - L'A')) : c; }
inline wchar_t AsciiUpper(wchar_t c) { return c >= L'a' && c <= L'z' ? static_cast<wchar_t>(c - (L'a' - L'A')) : c; }

inline std::wstring AsciiLowered(std::wstring_view text) {
    std::wstring lowered(text);
    std::transform(lowered.begin(), lowered.end(), lowered.begin(), AsciiLower);
    return lowered;
}

inline std::wstring AsciiUppered(std::wstring_view text) {
    std::wstring uppered(text);
    std::transform(uppered.begin(), uppered.end(), uppered.begin(), AsciiUpper);
    return uppered;
}

inline bool EqualIgnoringAsciiCase(std::wstring_view a, std::wstring_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](wchar_t x, wchar_t y) { return AsciiUpper(x) == AsciiUpper(y); });
}
