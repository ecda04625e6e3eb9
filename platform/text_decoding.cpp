#include "platform/text_decoding.h"

#include <algorithm>

namespace {

void AppendCodePoint(std::wstring& text, std::uint32_t code) {
    if (code < 0x10000) {
        text += static_cast<wchar_t>(code);
    } else {
        code -= 0x10000;
        text += static_cast<wchar_t>(0xD800 + (code >> 10));
        text += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
    }
}

bool StartsWith(std::span<const std::uint8_t> bytes, std::initializer_list<std::uint8_t> mark) {
    if (bytes.size() < mark.size()) return false;
    std::size_t i = 0;
    for (std::uint8_t byte : mark) {
        if (bytes[i++] != byte) return false;
    }
    return true;
}

}  // namespace

DetectedEncoding EncodingByMark(std::span<const std::uint8_t> bytes) {
    if (StartsWith(bytes, {0xEF, 0xBB, 0xBF})) return {TextEncoding::Utf8, 3};
    if (StartsWith(bytes, {0xFF, 0xFE})) return {TextEncoding::Utf16Le, 2};
    if (StartsWith(bytes, {0xFE, 0xFF})) return {TextEncoding::Utf16Be, 2};
    return {TextEncoding::Ansi, 0};
}

DetectedEncoding EncodingOfTextFile(std::span<const std::uint8_t> bytes) {
    if (const DetectedEncoding marked = EncodingByMark(bytes); marked.mark_length != 0) return marked;
    std::size_t nuls_at_even = 0, nuls_at_odd = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == 0) ++(i % 2 == 0 ? nuls_at_even : nuls_at_odd);
    }
    if (nuls_at_even + nuls_at_odd != 0)
        return {nuls_at_odd >= nuls_at_even ? TextEncoding::Utf16Le : TextEncoding::Utf16Be, 0};
    if (DecodeUtf8(bytes)) return {TextEncoding::Utf8, 0};
    return {TextEncoding::Ansi, 0};
}

std::optional<std::wstring> DecodeUtf8(std::span<const std::uint8_t> bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    const std::size_t size = bytes.size();
    std::size_t i = 0;
    while (i < size) {
        const std::uint8_t lead = bytes[i];
        if (lead < 0x80) {
            text += static_cast<wchar_t>(lead);
            ++i;
            continue;
        }
        std::size_t length;
        std::uint32_t code;
        std::uint8_t low = 0x80, high = 0xBF;  // allowed range of the second byte
        if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, code = lead & 0x1F;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3, code = lead & 0x0F;
            if (lead == 0xE0) low = 0xA0;   // overlong
            if (lead == 0xED) high = 0x9F;  // surrogates
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, code = lead & 0x07;
            if (lead == 0xF0) low = 0x90;   // overlong
            if (lead == 0xF4) high = 0x8F;  // beyond U+10FFFF
        } else {
            return std::nullopt;
        }
        if (size - i < length) return std::nullopt;
        for (std::size_t k = 1; k < length; ++k) {
            const std::uint8_t next = bytes[i + k];
            if (k == 1 ? (next < low || next > high) : (next < 0x80 || next > 0xBF)) return std::nullopt;
            code = (code << 6) | (next & 0x3F);
        }
        AppendCodePoint(text, code);
        i += length;
    }
    return text;
}

std::wstring DecodeUtf16(std::span<const std::uint8_t> bytes, bool big_endian) {
    std::wstring text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const unsigned first = bytes[i], second = bytes[i + 1];
        text += static_cast<wchar_t>(big_endian ? (first << 8 | second) : (second << 8 | first));
    }
    return text;
}

std::optional<std::wstring> DecodeText(std::span<const std::uint8_t> bytes, DetectedEncoding encoding,
                                       const AnsiDecoder& decode_ansi) {
    const auto rest = bytes.subspan(std::min(encoding.mark_length, bytes.size()));
    switch (encoding.encoding) {
        case TextEncoding::Utf8:
            return DecodeUtf8(rest);
        case TextEncoding::Utf16Le:
            return DecodeUtf16(rest, false);
        case TextEncoding::Utf16Be:
            return DecodeUtf16(rest, true);
        case TextEncoding::Ansi:
            break;
    }
    if (rest.empty()) return std::wstring();
    return decode_ansi(std::string_view(reinterpret_cast<const char*>(rest.data()), rest.size()));
}
