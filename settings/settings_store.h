#pragma once
// Keeps chosen properties of controls in an INI file, on request.
#include "platform/files.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

enum class PropertyKind { Boolean, Text };

// What the store needs of a bound control: its properties reached by name.
class PropertyOwner {
public:
    virtual ~PropertyOwner() = default;
    virtual std::wstring Name() const = 0;                                                 // may be empty
    virtual std::optional<PropertyKind> PropertyKindOf(std::wstring_view name) const = 0;  // nullopt: no such property
    virtual bool GetBoolean(std::wstring_view name) const = 0;
    virtual std::wstring GetText(std::wstring_view name) const = 0;
    virtual void SetBoolean(std::wstring_view name, bool value) = 0;  // through the control's ordinary setter
    virtual void SetText(std::wstring_view name, const std::wstring& value) = 0;
};

// One control and the names of its properties that the store keeps.
struct StoreBinding {
    PropertyOwner* control = nullptr;
    std::vector<std::wstring> properties;
};

// A binding as a layout writes it, "Control.Property" or "Control.First,Second": the control's name and its
// properties' names; nullopt without a control's name before the dot.
struct BindingNames {
    std::wstring control;
    std::vector<std::wstring> properties;
};
std::optional<BindingNames> ParseBindingNames(std::wstring_view text);

// The class part of every section the store writes: "[Edit5: TcxPropertiesStoreComponent]".
inline constexpr wchar_t kStoredClassName[] = L"TcxPropertiesStoreComponent";

// The bound properties' values at one moment, each read once, in the order of the bindings: what a caller checks
// before writing is what gets written. A boolean reads "True" or "False".
struct StoredObject {
    std::wstring name;  // the section's object name
    std::vector<std::pair<std::wstring, std::wstring>> properties;
};
using StoredValues = std::vector<StoredObject>;

// The value read for the object's property; nullptr where none was.
const std::wstring* FindStoredValue(const StoredValues& values, std::wstring_view object, std::wstring_view property);

class SettingsStore {
public:
    std::vector<StoreBinding> bindings;  // in the order they are stored and restored
    std::wstring path;                   // the file; a relative path is taken from the current folder

    // Assigns the file's values to the bound properties, binding by binding. Nothing is validated ahead: a value a
    // property cannot take fails the restore there, after the earlier bindings were assigned.
    // A text is cut at its first null character, as an edit window would cut it.
    // Failures: "Cannot open file ..." (also for a file over 1 MiB), invalid UTF-8, "Invalid property element: <value>"
    // (the value on one line, cut to about 60 characters).
    void Restore();

    // The two halves of Restore, for a caller that tells a file it could not read from one it read: the file as
    // read (a brief lock waited out), then its values assigned (`content` nullopt: no file, nothing changes).
    FileContent ReadStoredFile() const;
    void RestoreFrom(const std::optional<std::vector<std::uint8_t>>& content);

    // Every bound property's value, read once from its control.
    StoredValues ReadValues() const;

    // The file replaced once, whole, or left as it was on any failure. Anew, it holds the values alone and its old
    // content is not even read; otherwise the sections of objects the store does not bind are kept.
    void WriteFileAnew(const StoredValues& values) const;
    void WriteFileKeepingOtherSections(const StoredValues& values) const;

    // A binding's section name begins with this: its control's name, else "Component" and its zero-based position.
    static std::wstring ObjectNameOf(const StoreBinding& binding, std::size_t position);

private:
    std::wstring FilePath() const;
    void WriteFile(const StoredValues& values, bool anew) const;
};
