#include "packaging/bake_check/baked_files.h"

#include "platform/failure.h"
#include "settings/settings_objects.h"
#include "settings/settings_store.h"

#include <algorithm>

namespace {

// A bound `Text` as the store restores it: only an entry spelt "Text", cut at a null character as an edit cuts it.
std::wstring RestoredText(const IniReader& reader, const std::wstring& object_name) {
    std::vector<std::wstring> keys;
    reader.ReadProperties(object_name, kStoredClassName, keys);
    if (std::find(keys.begin(), keys.end(), L"Text") == keys.end()) return {};
    std::wstring text = reader.ReadProperty(object_name, kStoredClassName, L"Text").text;
    return text.substr(0, text.find(L'\0'));
}

}  // namespace

BakedSettings ReadBakedSettings(const std::vector<std::uint8_t>& bytes, const AnsiDecoder& decode_ansi) {
    IniReader reader(bytes, {decode_ansi, nullptr, nullptr});
    reader.Start();
    return {RestoredText(reader, settings_objects::kServerAddress),
            RestoredText(reader, settings_objects::kVpnPassword)};
}

bool ConnectionFileIsFor(const std::vector<std::uint8_t>& connection_file, std::wstring_view server,
                         const AnsiDecoder& decode_ansi) {
    constexpr std::wstring_view kAddressKey = L"full address:s:";
    std::wstring text;
    try {
        text = DecodeIniBytes(connection_file, decode_ansi);
    } catch (const Failure&) {
        return false;
    }
    int addresses = 0;
    bool same = false;
    for (std::size_t from = 0; from < text.size();) {
        std::size_t end = text.find(L'\n', from);
        if (end == std::wstring::npos) end = text.size();
        std::wstring_view line = std::wstring_view(text).substr(from, end - from);
        if (!line.empty() && line.back() == L'\r') line.remove_suffix(1);
        from = end + 1;
        if (line.starts_with(kAddressKey)) ++addresses, same = line.substr(kAddressKey.size()) == server;
    }
    return addresses == 1 && same;
}
