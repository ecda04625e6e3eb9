#include "packaging/bake_check/baked_files.h"

#include "platform/failure.h"
#include "settings/connection_file.h"
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
    reader.ReadVersion();
    return {RestoredText(reader, settings_objects::kServerAddress),
            RestoredText(reader, settings_objects::kVpnPassword)};
}

bool ConnectionFileIsFor(const std::vector<std::uint8_t>& connection_file, std::wstring_view server,
                         const AnsiDecoder& decode_ansi) {
    return ConnectionFilePointsAt(connection_file, server, decode_ansi);
}
