#pragma once
// Text files' bytes into UTF-16: by their byte-order mark, and where they have none, by what the bytes are.
// Pure: what the ANSI code page makes of bytes comes in as a function.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>

using AnsiDecoder = std::function<std::wstring(std::string_view)>;

enum class TextEncoding { Ansi, Utf8, Utf16Le, Utf16Be };

struct DetectedEncoding {
    TextEncoding encoding = TextEncoding::Ansi;
    std::size_t mark_length = 0;  // bytes of the byte-order mark, skipped before decoding
};

// By the mark alone: EF BB BF, FF FE or FE FF; anything else is the ANSI code page.
DetectedEncoding EncodingByMark(std::span<const std::uint8_t> bytes);

// As Notepad and the Remote Desktop client read a file: by its mark; without one, UTF-16 when the bytes hold a NUL
// (little-endian when more NULs stand at odd offsets than at even ones, as the high bytes of ASCII do), else UTF-8
// when the bytes are valid UTF-8, else the ANSI code page.
DetectedEncoding EncodingOfTextFile(std::span<const std::uint8_t> bytes);

// Strict, as MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS): nullopt for anything that is not UTF-8 (overlong
// forms, surrogates, code points beyond U+10FFFF, a sequence cut short).
std::optional<std::wstring> DecodeUtf8(std::span<const std::uint8_t> bytes);

// Code units pass as they are; an odd last byte is ignored.
std::wstring DecodeUtf16(std::span<const std::uint8_t> bytes, bool big_endian);

// The bytes after the mark in the given encoding; nullopt for invalid UTF-8.
std::optional<std::wstring> DecodeText(std::span<const std::uint8_t> bytes, DetectedEncoding encoding,
                                       const AnsiDecoder& decode_ansi);
