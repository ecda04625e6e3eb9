#include "launcher/dial_failure_text.h"

namespace {
bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\r' || c == L'\n'; }
}  // namespace

std::wstring DialFailureText(std::wstring_view entry, unsigned long error, std::wstring_view windows_text) {
    // Windows' texts end with a line break.
    while (!windows_text.empty() && IsBlank(windows_text.back())) windows_text.remove_suffix(1);
    std::wstring text = L"The VPN connection \"" + std::wstring(entry) + L"\" could not be dialled: ";
    if (windows_text.empty()) return text + L"error " + std::to_wstring(error) + L".";
    text += windows_text;
    if (text.back() != L'.') text += L'.';
    return text + L" (error " + std::to_wstring(error) + L").";
}
