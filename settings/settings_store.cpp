#include "settings/settings_store.h"

#include "platform/ascii_case.h"
#include "platform/failure.h"
#include "platform/files.h"
#include "platform/locale_values.h"
#include "platform/quoted_value.h"
#include "platform/text.h"
#include "settings/ini_file.h"

#include <algorithm>

namespace {

// A settings file is a few hundred bytes; anything far larger is not one, and is not read into memory whole.
constexpr std::size_t kLargestFile = std::size_t{1024} * 1024;

IniConventions UserIniConventions() {
    return {
        AnsiToWide,
        UserLocaleNumberText,
        UserLocaleDateText,
    };
}

void Assign(PropertyOwner& control, const std::wstring& name, PropertyKind kind, const IniValue& value) {
    if (kind == PropertyKind::Text) {
        // An edit window ends its text at the first null character; so does the text it holds before it has one.
        control.SetText(name, value.text.substr(0, value.text.find(L'\0')));
    } else if (EqualIgnoringAsciiCase(value.text, L"True")) {
        control.SetBoolean(name, true);
    } else if (EqualIgnoringAsciiCase(value.text, L"False")) {
        control.SetBoolean(name, false);
    } else {
        throw Failure(L"Invalid property element: " + QuotedValue(value.text));
    }
}

}  // namespace

std::optional<BindingNames> ParseBindingNames(std::wstring_view text) {
    const std::size_t dot = text.find(L'.');
    if (dot == std::wstring_view::npos || dot == 0) return std::nullopt;
    BindingNames names{std::wstring(text.substr(0, dot)), {}};
    for (std::size_t start = dot + 1; start <= text.size();) {
        std::size_t comma = text.find(L',', start);
        if (comma == std::wstring_view::npos) comma = text.size();
        names.properties.emplace_back(text.substr(start, comma - start));
        start = comma + 1;
    }
    return names;
}

std::wstring SettingsStore::ObjectNameOf(const StoreBinding& binding, std::size_t position) {
    std::wstring name = binding.control != nullptr ? binding.control->Name() : std::wstring();
    return name.empty() ? L"Component" + std::to_wstring(position) : name;
}

std::wstring SettingsStore::FilePath() const { return FullPathOf(path); }

void SettingsStore::Restore() {
    const FileContent content = ReadStoredFile();
    if (content.failure) throw *content.failure;
    RestoreFrom(content.bytes);
}

FileContent SettingsStore::ReadStoredFile() const { return ReadFileContent(FilePath(), kLargestFile); }

void SettingsStore::RestoreFrom(const std::optional<std::vector<std::uint8_t>>& content) {
    const std::wstring path = FilePath();
    IniReader reader(content, UserIniConventions());
    std::vector<std::wstring> keys;
    for (std::size_t position = 0; position < bindings.size(); ++position) {
        if (!FileExists(path)) continue;
        const StoreBinding& binding = bindings[position];
        const std::wstring object_name = ObjectNameOf(binding, position);
        reader.ReadVersion();
        reader.ReadProperties(object_name, kStoredClassName, keys);
        // A repeated key reads its first entry again, so it is assigned once; keys no property takes are not read.
        std::vector<std::wstring> assigned;
        for (const std::wstring& key : keys) {
            if (key.empty() || binding.control == nullptr) continue;
            if (std::find(binding.properties.begin(), binding.properties.end(), key) == binding.properties.end())
                continue;
            if (std::find(assigned.begin(), assigned.end(), key) != assigned.end()) continue;
            const auto kind = binding.control->PropertyKindOf(key);
            if (!kind) continue;
            Assign(*binding.control, key, *kind, reader.ReadProperty(object_name, kStoredClassName, key));
            assigned.push_back(key);
        }
    }
}

const std::wstring* FindStoredValue(const StoredValues& values, std::wstring_view object, std::wstring_view property) {
    for (const StoredObject& stored : values) {
        if (stored.name != object) continue;
        for (const auto& [name, text] : stored.properties)
            if (name == property) return &text;
    }
    return nullptr;
}

StoredValues SettingsStore::ReadValues() const {
    StoredValues values;
    values.reserve(bindings.size());
    for (std::size_t position = 0; position < bindings.size(); ++position) {
        const StoreBinding& binding = bindings[position];
        StoredObject& stored = values.emplace_back(StoredObject{ObjectNameOf(binding, position), {}});
        if (binding.control == nullptr) continue;
        for (const std::wstring& name : binding.properties) {
            const auto kind = binding.control->PropertyKindOf(name);
            if (!kind) continue;
            stored.properties.emplace_back(name,
                                           *kind == PropertyKind::Boolean
                                               ? std::wstring(binding.control->GetBoolean(name) ? L"True" : L"False")
                                               : binding.control->GetText(name));
        }
    }
    return values;
}

void SettingsStore::WriteFileAnew(const StoredValues& values) const { WriteFile(values, true); }

void SettingsStore::WriteFileKeepingOtherSections(const StoredValues& values) const { WriteFile(values, false); }

void SettingsStore::WriteFile(const StoredValues& values, bool anew) const {
    if (values.empty()) return;
    const std::wstring path = FilePath();
    // Made anew, the file's old content is not even read: a file damaged while the program runs is simply replaced.
    const auto old_content = anew ? std::nullopt : ReadWholeFile(path, kLargestFile);
    IniWriter writer(old_content, anew, AnsiToWide);
    writer.WriteVersion();
    for (const StoredObject& stored : values) {
        writer.Erase(stored.name);
        writer.BeginWriteObject(stored.name, kStoredClassName);
        for (const auto& [name, text] : stored.properties)
            writer.WriteProperty(stored.name, kStoredClassName, name, text);
    }
    WriteFileSafely(path, writer.Finish());
}
