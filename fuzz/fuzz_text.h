#pragma once
// Turns a fuzzer's bytes into the wide text a Windows program holds: UTF-16 code units, two bytes each, leaving
// out lone surrogate halves (no keyboard or file gives the program one).
#include <cstddef>
#include <cstdint>
#include <string>

inline std::wstring WideTextOf(const std::uint8_t* data, std::size_t size) {
    std::wstring text;
    for (std::size_t i = 0; i + 1 < size; i += 2) {
        const wchar_t unit = static_cast<wchar_t>(data[i] | (data[i + 1] << 8));
        if (unit >= 0xD800 && unit <= 0xDFFF) continue;
        text += unit;
    }
    return text;
}
