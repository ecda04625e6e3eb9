#include "settings/signed_connection_file.h"

#include "platform/failure.h"
#include "settings/rdp_text.h"

#include <algorithm>
#include <string>

namespace {

constexpr std::wstring_view kAddressKey = L"full address:s:";
constexpr std::wstring_view kScopeKey = L"signscope:s:";
constexpr std::wstring_view kSignatureKey = L"signature:s:";
// rdpsign's name for the address in the scope list.
constexpr std::wstring_view kAddressInScope = L"Full Address";

// How many lines set one name, and the last one's value.
struct Setting {
    std::wstring_view key;
    int count = 0;
    std::wstring_view value;
};

bool ScopeCoversAddress(std::wstring_view scope) {
    for (std::size_t from = 0;;) {
        const std::size_t comma = scope.find(L',', from);
        if (scope.substr(from, comma - from) == kAddressInScope) return true;
        if (comma == std::wstring_view::npos) return false;
        from = comma + 1;
    }
}

bool IsBlank(std::wstring_view text) {
    return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c <= L' '; });
}

}  // namespace

bool KeepsSignedConnectionFile(const std::vector<std::uint8_t>& existing_bytes, std::wstring_view server,
                               const AnsiDecoder& decode_ansi) {
    if (IsBlank(server) || BreaksConnectionLine(server)) return false;
    std::wstring text;
    try {
        text = DecodeIniBytes(existing_bytes, decode_ansi);
    } catch (const Failure&) {
        return false;  // invalid UTF-8 after its mark: not a file rdpsign wrote
    }

    Setting address{kAddressKey, 0, {}}, scope{kScopeKey, 0, {}}, signature{kSignatureKey, 0, {}};
    const std::wstring_view all = text;
    for (std::size_t from = 0; from < all.size();) {
        std::size_t end = all.find(L'\n', from);
        if (end == std::wstring_view::npos) end = all.size();
        std::wstring_view line = all.substr(from, end - from);
        if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
        from = end + 1;
        for (Setting* setting : {&address, &scope, &signature}) {
            if (line.substr(0, setting->key.size()) == setting->key) {
                ++setting->count;
                setting->value = line.substr(setting->key.size());
            }
        }
    }
    return address.count == 1 && scope.count == 1 && signature.count == 1 && !signature.value.empty() &&
           ScopeCoversAddress(scope.value) && address.value == server;
}
