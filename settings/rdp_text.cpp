#include "settings/rdp_text.h"

#include <algorithm>
#include <string_view>

namespace {

constexpr std::wstring_view kDefaultAddressLine = L"full address:s:192.168.1.1:7777";
constexpr std::wstring_view kAddressKey = L"full address:s:";

bool IsBlank(const std::wstring& text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c <= L' '; });
}

}  // namespace

std::wstring GenerateConnectionText(const std::wstring& template_text, const std::wstring& server) {
    if (IsBlank(server)) return template_text;
    const std::wstring address_line = std::wstring(kAddressKey) + server;
    std::wstring text;
    std::size_t from = 0;
    for (auto found = template_text.find(kDefaultAddressLine); found != std::wstring::npos;
         found = template_text.find(kDefaultAddressLine, from)) {
        text.append(template_text, from, found - from);
        text += address_line;
        from = found + kDefaultAddressLine.size();
    }
    text.append(template_text, from);
    return text;
}

bool BreaksConnectionLine(std::wstring_view server) {
    return server.find_first_of(L"\r\n\v\f\u0085\u2028\u2029") != std::wstring_view::npos;
}
