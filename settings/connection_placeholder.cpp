#include "settings/connection_placeholder.h"

#include "platform/blank_text.h"

#include <optional>

namespace {

constexpr std::wstring_view kAddressKey = L"full address:s:";

// Calls `take` with the value of each address line, in order, until it returns true; whether one did.
template <typename Take>
bool AnyAddress(std::wstring_view text, Take take) {
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = text.find(L'\n', from);
        if (end == std::wstring_view::npos) end = text.size();
        std::wstring_view line = text.substr(from, end - from);
        from = end + 1;
        if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
        if (line.substr(0, kAddressKey.size()) == kAddressKey && take(line.substr(kAddressKey.size()))) return true;
    }
    return false;
}

}  // namespace

bool LacksServerAddress(std::wstring_view server, std::wstring_view connection_text, std::wstring_view template_text) {
    if (!IsBlank(server)) return false;
    std::optional<std::wstring_view> example;
    AnyAddress(template_text, [&example](std::wstring_view address) {
        example = address;
        return true;
    });
    if (!example) return false;
    return AnyAddress(connection_text, [&example](std::wstring_view address) { return address == *example; });
}
