#include "platform/quoted_value.h"

namespace {
bool BreaksTheLine(wchar_t c) { return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x2028 || c == 0x2029; }
bool IsHighSurrogate(wchar_t c) { return c >= 0xD800 && c <= 0xDBFF; }
}  // namespace

std::wstring QuotedValue(std::wstring_view value, std::size_t longest) {
    const bool cut = value.size() > longest;
    std::wstring quoted(cut ? value.substr(0, longest > 0 ? longest - 1 : 0) : value);
    if (cut && !quoted.empty() && IsHighSurrogate(quoted.back())) quoted.pop_back();
    for (wchar_t& c : quoted)
        if (BreaksTheLine(c)) c = L' ';
    if (cut) quoted += L'\u2026';
    return quoted;
}
