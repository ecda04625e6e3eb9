#pragma once
// Shared by the settings tests: a stand-in control and the worked example file.
#include "settings/settings_store.h"
#include "tests/support/file_bytes.h"
#include "tests/support/files_test_support.h"
#include "tests/unit/failure_of.h"

#include <optional>
#include <string>
#include <string_view>

// A control with one property.
class FakeControl : public PropertyOwner {
public:
    FakeControl(std::wstring name, std::wstring property, PropertyKind kind)
        : name_(std::move(name)), property_(std::move(property)), kind_(kind) {}
    std::wstring Name() const override { return name_; }
    std::optional<PropertyKind> PropertyKindOf(std::wstring_view name) const override {
        return name == property_ ? std::optional(kind_) : std::nullopt;
    }
    bool GetBoolean(std::wstring_view) const override { return checked; }
    std::wstring GetText(std::wstring_view) const override { return text; }
    void SetBoolean(std::wstring_view, bool value) override { checked = value, ++assignments; }
    void SetText(std::wstring_view, const std::wstring& value) override { text = value, ++assignments; }
    PropertyKind Kind() const { return kind_; }
    const std::wstring& Property() const { return property_; }

    bool checked = false;
    std::wstring text;
    int assignments = 0;

private:
    std::wstring name_, property_;
    PropertyKind kind_;
};

inline constexpr char kMark[] = "\xEF\xBB\xBF";

// Box ticked, Wi-Fi Office, entry Work, user ali, no password, server 10.0.0.5:3389: 373 bytes.
inline const std::string kWorkedExample = std::string(kMark) +
                                          "[Main]\r\nVersion=2\r\n\r\n"
                                          "[CheckBox2: TcxPropertiesStoreComponent]\r\n=\r\nChecked=\"True\"\r\n\r\n"
                                          "[Edit1: TcxPropertiesStoreComponent]\r\n=\r\nText=\"Office\"\r\n\r\n"
                                          "[Edit2: TcxPropertiesStoreComponent]\r\n=\r\nText=\"Work\"\r\n\r\n"
                                          "[Edit3: TcxPropertiesStoreComponent]\r\n=\r\nText=\"ali\"\r\n\r\n"
                                          "[Edit4: TcxPropertiesStoreComponent]\r\n=\r\nText=\"\"\r\n\r\n"
                                          "[Edit5: TcxPropertiesStoreComponent]\r\n=\r\nText=\"10.0.0.5:3389\"\r\n\r\n";

// A private folder for one test, under the names the settings tests use.
class TempFolder : public FilesTempFolder {
public:
    using FilesTempFolder::Path;
    const std::wstring& Path() const { return path(); }
    std::wstring File(const std::wstring& name) const { return Path(name); }
};
