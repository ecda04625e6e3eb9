#include "settings/properties_store.h"

#include <algorithm>

#include "platform/failure.h"
#include "platform/files.h"
#include "platform/locale_values.h"
#include "platform/text.h"
#include "settings/ini_file.h"

namespace {

const wchar_t kClassName[] = L"TcxPropertiesStoreComponent";
// A settings file is a few hundred bytes; anything far larger is not one, and is not read into memory whole.
constexpr std::size_t kLargestFile = 1024 * 1024;

IniConventions UserIniConventions() {
    return {
        [](std::string_view bytes) { return AnsiToWide(bytes); },
        UserLocaleNumberText,
        UserLocaleDateText,
    };
}

bool IsBooleanText(const std::wstring& text, std::wstring_view word) {
    return text.size() == word.size() &&
           std::equal(text.begin(), text.end(), word.begin(), [](wchar_t a, wchar_t b) {
               return (a >= L'a' && a <= L'z' ? a - 32 : a) == (b >= L'a' && b <= L'z' ? b - 32 : b);
           });
}

void Assign(PropertyOwner& control, const std::wstring& name, PropertyKind kind, const IniValue& value) {
    if (kind == PropertyKind::Text) {
        // An edit window ends its text at the first null character; so does the text it holds before it has one.
        control.SetText(name, value.Text.substr(0, value.Text.find(L'\0')));
    } else if (IsBooleanText(value.Text, L"True")) {
        control.SetBoolean(name, true);
    } else if (IsBooleanText(value.Text, L"False")) {
        control.SetBoolean(name, false);
    } else {
        throw Failure(L"Invalid property element: " + value.Text);
    }
}

}  // namespace

std::wstring TcxPropertiesStore::ObjectNameOf(const TcxPropertiesStoreComponent& binding, std::size_t position) {
    std::wstring name = binding.Component != nullptr ? binding.Component->ComponentName() : std::wstring();
    return name.empty() ? L"Component" + std::to_wstring(position) : name;
}

std::wstring TcxPropertiesStore::FilePath() const {
    return FullPathOf(StorageName.empty() ? Name : StorageName);
}

void TcxPropertiesStore::RestoreFrom() {
    const std::wstring path = FilePath();
    TcxIniFileReader reader(ReadWholeFile(path, kLargestFile), UserIniConventions());
    std::vector<std::wstring> keys;
    for (std::size_t position = 0; position < Components.size(); ++position) {
        if (!FileExists(path)) continue;
        const TcxPropertiesStoreComponent& binding = Components[position];
        const std::wstring objectName = ObjectNameOf(binding, position);
        reader.Start();
        reader.ReadProperties(objectName, kClassName, keys);
        // A repeated key reads its first entry again, so it is assigned once; keys no property takes are not read.
        std::vector<std::wstring> assigned;
        for (const std::wstring& key : keys) {
            if (key.empty() || binding.Component == nullptr) continue;
            if (std::find(binding.Properties.begin(), binding.Properties.end(), key) == binding.Properties.end()) continue;
            if (std::find(assigned.begin(), assigned.end(), key) != assigned.end()) continue;
            const auto kind = binding.Component->PropertyKindOf(key);
            if (!kind) continue;
            Assign(*binding.Component, key, *kind, reader.ReadProperty(objectName, kClassName, key));
            assigned.push_back(key);
        }
    }
}

void TcxPropertiesStore::StoreTo(bool AReCreate) {
    if (Components.empty()) return;
    const std::wstring path = FilePath();
    // Made anew, the file's old content is not even read: a file damaged while the program runs is simply replaced.
    const auto old_content = AReCreate ? std::nullopt : ReadWholeFile(path, kLargestFile);
    TcxIniFileWriter writer(old_content, AReCreate, [](std::string_view bytes) { return AnsiToWide(bytes); });
    for (std::size_t position = 0; position < Components.size(); ++position) {
        const TcxPropertiesStoreComponent& binding = Components[position];
        const std::wstring objectName = ObjectNameOf(binding, position);
        writer.Start();
        writer.Erase(objectName);
        writer.BeginWriteObject(objectName, kClassName);
        for (const std::wstring& name : binding.Properties) {
            if (binding.Component == nullptr) break;
            const auto kind = binding.Component->PropertyKindOf(name);
            if (!kind) continue;
            const std::wstring value = *kind == PropertyKind::Boolean
                                           ? std::wstring(binding.Component->GetBoolean(name) ? L"True" : L"False")
                                           : binding.Component->GetText(name);
            writer.WriteProperty(objectName, kClassName, name, value);
        }
        writer.EndWriteObject();
    }
    WriteFileSafely(path, writer.Finish());
}
