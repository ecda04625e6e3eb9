#include "platform/quoted_value.h"

namespace {
bool BreaksTheLine(wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029; }
bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(wchar_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

bool IsBidiControl(wchar_t c) {
    return c == 0x200E || c == 0x200F || c == 0x061C || (c >= 0x202A && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

std::wstring Escape(wchar_t c) {
    const wchar_t* const digits = L"0123456789ABCDEF";
    const auto code = static_cast<unsigned>(c);
    std::wstring escape = L"<U+";
    for (int shift = 12; shift >= 0; shift -= 4) escape += digits[(code >> shift) & 0xF];
    return escape + L'>';
}

// The piece a box shows for the character at `text[at]`, and how many code units of `text` it stands for.
std::wstring ShownPiece(std::wstring_view text, std::size_t at, std::size_t& length) {
    length = 1;
    const wchar_t c = text[at];
    if (IsBidiControl(c)) return Escape(c);
    if (BreaksTheLine(c)) return L" ";
    if (IsHighSurrogate(c) && at + 1 < text.size() && IsLowSurrogate(text[at + 1])) {
        length = 2;
        return std::wstring(text.substr(at, 2));
    }
    return std::wstring(1, c);
}
}  // namespace

std::wstring QuotedValue(std::wstring_view value, std::size_t longest) {
    std::wstring quoted;
    std::size_t kept = 0;  // the length of `quoted` when it last had room for "…" after it
    bool cut = false;
    for (std::size_t at = 0, length = 0; at < value.size(); at += length) {
        const std::wstring piece = ShownPiece(value, at, length);
        if (quoted.size() + piece.size() > longest) {
            cut = true;
            break;
        }
        quoted += piece;
        if (quoted.size() + 1 <= longest) kept = quoted.size();
    }
    if (!cut) return quoted;
    quoted.resize(kept);
    return quoted + L'\u2026';
}

std::wstring WithVisibleBidiControls(std::wstring_view text) {
    std::wstring shown;
    shown.reserve(text.size());
    for (wchar_t c : text) {
        if (IsBidiControl(c)) {
            shown += Escape(c);
        } else {
            shown += c;
        }
    }
    return shown;
}
