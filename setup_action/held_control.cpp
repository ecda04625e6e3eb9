#include "setup_action/held_control.h"

#include "platform/failure.h"

HeldControl::HeldControl(const LayoutObject& object) : name_(object.name) {
    if (object.kind == L"checkbox") {
        property_ = L"Checked", kind_ = PropertyKind::Boolean;
    } else if (object.kind == L"edit") {
        property_ = L"Text", kind_ = PropertyKind::Text, text_ = object.Text(L"Caption");
    } else if (object.kind == L"memo") {
        property_ = L"Text", kind_ = PropertyKind::Text, text_ = object.LinesText();
    }
}

std::optional<PropertyKind> HeldControl::PropertyKindOf(std::wstring_view name) const {
    return !property_.empty() && name == property_ ? std::optional<PropertyKind>(kind_) : std::nullopt;
}

void HeldControl::Require(std::wstring_view name, PropertyKind kind) const {
    if (PropertyKindOf(name) != kind) throw Failure(L"Invalid property element: " + std::wstring(name));
}

bool HeldControl::GetBoolean(std::wstring_view name) const {
    Require(name, PropertyKind::Boolean);
    return checked_;
}

std::wstring HeldControl::GetText(std::wstring_view name) const {
    Require(name, PropertyKind::Text);
    return text_;
}

void HeldControl::SetBoolean(std::wstring_view name, bool value) {
    Require(name, PropertyKind::Boolean);
    checked_ = value;
}

void HeldControl::SetText(std::wstring_view name, const std::wstring& value) {
    Require(name, PropertyKind::Text);
    text_ = value;
}
