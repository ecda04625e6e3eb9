#include "platform/blank_text.h"

#include <algorithm>

namespace {
bool IsWhiteSpace(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
}  // namespace

bool IsSpaceOrControl(wchar_t c) { return c <= L' '; }

bool IsBlank(std::wstring_view text) { return std::all_of(text.begin(), text.end(), IsSpaceOrControl); }

std::wstring_view Trimmed(std::wstring_view text) {
    while (!text.empty() && IsSpaceOrControl(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsSpaceOrControl(text.back())) text.remove_suffix(1);
    return text;
}

std::wstring_view WithoutTrailingWhiteSpace(std::wstring_view text) {
    while (!text.empty() && IsWhiteSpace(text.back())) text.remove_suffix(1);
    return text;
}
