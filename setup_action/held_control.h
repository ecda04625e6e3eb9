#pragma once
// A control of the settings dialog without its window, for the settings store: the values the store restores into
// it and stores from it, held in memory. Pure: no Windows header.
#include "settings/settings_store.h"
#include "ui/layout.h"

#include <string>

class HeldControl : public PropertyOwner {
public:
    // The control as its layout object makes it, holding what the dialog's control holds before anything is restored:
    // a "checkbox" has the Boolean `Checked`, cleared; an "edit" the text `Text`, its caption; a "memo" too, its lines.
    explicit HeldControl(const LayoutObject& object);

    std::wstring Name() const override { return name_; }
    std::optional<PropertyKind> PropertyKindOf(std::wstring_view name) const override;
    bool GetBoolean(std::wstring_view name) const override;
    std::wstring GetText(std::wstring_view name) const override;
    void SetBoolean(std::wstring_view name, bool value) override;
    void SetText(std::wstring_view name, const std::wstring& value) override;

private:
    void Require(std::wstring_view name, PropertyKind kind) const;

    std::wstring name_;
    std::wstring property_;  // empty: a kind of control the store keeps nothing of
    PropertyKind kind_ = PropertyKind::Text;
    bool checked_ = false;
    std::wstring text_;
};
