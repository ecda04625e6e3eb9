#include "settings/control_properties.h"

#include "platform/failure.h"

namespace {
struct Accessor {
    const wchar_t* name;
    PropertyKind kind;
    bool (*get_boolean)(const Control&);
    std::wstring (*get_text)(const Control&);
    void (*set_boolean)(Control&, bool);
    void (*set_text)(Control&, const std::wstring&);
    bool (*applies)(const Control&);
};

const Accessor kAccessors[] = {
    {L"Checked", PropertyKind::Boolean, [](const Control& c) { return static_cast<const CheckBox&>(c).Checked(); },
     nullptr, [](Control& c, bool v) { static_cast<CheckBox&>(c).SetChecked(v); }, nullptr,
     [](const Control& c) { return dynamic_cast<const CheckBox*>(&c) != nullptr; }},
    {L"Text", PropertyKind::Text, nullptr, [](const Control& c) { return static_cast<const Edit&>(c).Text(); }, nullptr,
     [](Control& c, const std::wstring& v) { static_cast<Edit&>(c).SetText(v); },
     [](const Control& c) { return dynamic_cast<const Edit*>(&c) != nullptr; }},
};

const Accessor* Find(const Control& control, std::wstring_view name) {
    for (const Accessor& a : kAccessors)
        if (name == a.name && a.applies(control)) return &a;
    return nullptr;
}

const Accessor& Require(const Control& control, std::wstring_view name, PropertyKind kind) {
    const Accessor* a = Find(control, name);
    if (!a || a->kind != kind) throw Failure(L"Invalid property element: " + std::wstring(name));
    return *a;
}
}  // namespace

std::optional<PropertyKind> ControlProperties::PropertyKindOf(std::wstring_view name) const {
    const Accessor* a = Find(control_, name);
    return a ? std::optional<PropertyKind>(a->kind) : std::nullopt;
}

bool ControlProperties::GetBoolean(std::wstring_view name) const {
    return Require(control_, name, PropertyKind::Boolean).get_boolean(control_);
}

std::wstring ControlProperties::GetText(std::wstring_view name) const {
    return Require(control_, name, PropertyKind::Text).get_text(control_);
}

void ControlProperties::SetBoolean(std::wstring_view name, bool value) {
    Require(control_, name, PropertyKind::Boolean).set_boolean(control_, value);
}

void ControlProperties::SetText(std::wstring_view name, const std::wstring& value) {
    Require(control_, name, PropertyKind::Text).set_text(control_, value);
}

void LoadStoreLayout(const Form& form, const LayoutObject& layout, SettingsStore& store,
                     std::vector<std::unique_ptr<ControlProperties>>& owners) {
    for (const LayoutProperty& bind : layout.properties) {
        if (bind.key != L"Bind") continue;
        auto names = ParseBindingNames(bind.value);
        if (!names) throw Failure(LayoutError(form.LayoutName(), bind.line, L"Bind needs \"Control.Property\""));
        Control* control = form.FindControl(names->control);
        if (!control) throw Failure(LayoutError(form.LayoutName(), bind.line, L"no control " + names->control));
        owners.push_back(std::make_unique<ControlProperties>(*control));
        store.bindings.push_back({owners.back().get(), std::move(names->properties)});
    }
}
