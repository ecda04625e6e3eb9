#include "launcher/open_failure_text.h"

std::wstring ConnectionFileFailureText(std::wstring_view full_path, std::wstring_view reason, bool missing) {
    std::wstring text = L"Cannot open \"" + std::wstring(full_path) + L"\": " + std::wstring(reason);
    if (!missing) return text;
    if (!text.empty() && text.back() != L'.') text += L'.';
    return text +
           L" To make it, open FILE \u203A \"\u062A\u0646\u0638\u06CC\u0645\u0627\u062A \u0633\u0631\u0648\u0631\" "
           L"and press \"Save\": it is written into this folder";
}
