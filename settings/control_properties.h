#pragma once
// The controls' properties by name, for the properties store: `Checked` of a check box, `Text` of an edit field.
#include "settings/settings_store.h"
#include "ui/form.h"

#include <memory>
#include <vector>

class ControlProperties : public PropertyOwner {
public:
    explicit ControlProperties(Control& control) : control_(control) {}
    std::wstring Name() const override { return control_.Name(); }
    std::optional<PropertyKind> PropertyKindOf(std::wstring_view name) const override;
    bool GetBoolean(std::wstring_view name) const override;
    std::wstring GetText(std::wstring_view name) const override;
    void SetBoolean(std::wstring_view name, bool value) override;
    void SetText(std::wstring_view name, const std::wstring& value) override;

private:
    Control& control_;
};

// Fills the store from its layout entry: `Bind = "Control.Property"` lines, in order (several properties of one
// control as "Control.First,Second"). The adapters it makes are kept in `owners`.
void LoadStoreLayout(const Form& form, const LayoutObject& layout, SettingsStore& store,
                     std::vector<std::unique_ptr<ControlProperties>>& owners);
