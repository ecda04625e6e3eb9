#include "setup_action/first_settings.h"

#include "platform/ansi_best_fit.h"
#include "platform/failure.h"
#include "settings/connection_file.h"
#include "settings/save_refusal.h"
#include "settings/settings_objects.h"
#include "setup_action/held_control.h"

#include <memory>

namespace {

const LayoutObject* FindObject(const LayoutObject& parent, std::wstring_view name) {
    for (const LayoutObject& child : parent.children) {
        if (child.name == name) return &child;
        if (const LayoutObject* found = FindObject(child, name)) return found;
    }
    return nullptr;
}

const LayoutObject& RequireObject(const LayoutObject& layout, std::wstring_view name) {
    if (const LayoutObject* found = FindObject(layout, name)) return *found;
    throw Failure(L"Layout " + std::wstring(settings_objects::kLayout) + L" has no object " + std::wstring(name));
}

// The dialog's bound controls, held in memory, and its store over them.
class HeldSettings {
public:
    HeldSettings(const LayoutObject& layout, const std::wstring& path) {
        for (const LayoutProperty& bind : RequireObject(layout, settings_objects::kStore).properties) {
            if (bind.key != L"Bind") continue;
            auto names = ParseBindingNames(bind.value);
            if (!names) {
                throw Failure(LayoutError(settings_objects::kLayout, bind.line, L"Bind needs \"Control.Property\""));
            }
            controls_.push_back(std::make_unique<HeldControl>(RequireObject(layout, names->control)));
            store_.bindings.push_back({controls_.back().get(), std::move(names->properties)});
        }
        store_.path = path;
    }

    SettingsStore& Store() { return store_; }

    std::wstring Text(const wchar_t* control) { return Bound(control).GetText(L"Text"); }
    void SetText(const wchar_t* control, const std::optional<std::wstring>& text) {
        if (text) Bound(control).SetText(L"Text", *text);
    }
    void SetChecked(const wchar_t* control, std::optional<bool> checked) {
        if (checked) Bound(control).SetBoolean(L"Checked", *checked);
    }

private:
    HeldControl& Bound(std::wstring_view name) {
        for (const auto& control : controls_)
            if (control->Name() == name) return *control;
        throw Failure(L"Layout " + std::wstring(settings_objects::kLayout) + L" stores nothing of " +
                      std::wstring(name));
    }

    std::vector<std::unique_ptr<HeldControl>> controls_;
    SettingsStore store_;
};

}  // namespace

std::vector<std::wstring> StoreFirstSettings(const LayoutObject& layout, const std::wstring& folder,
                                             const GivenSettings& given) {
    namespace objects = settings_objects;
    HeldSettings settings(layout, folder + objects::kSettingsFile);
    settings.Store().Restore();
    settings.SetText(objects::kWifiNetwork, given.wifi_network);
    settings.SetText(objects::kServerAddress, given.server_address);
    settings.SetChecked(objects::kUseVpn, given.use_vpn);
    settings.SetText(objects::kVpnEntry, given.vpn_entry);
    settings.SetText(objects::kVpnUser, given.vpn_user);

    // From here on as "Save": refused before anything is written, then the connection file, then the settings.
    const std::wstring server = settings.Text(objects::kServerAddress);
    if (const auto refusal =
            SaveRefusal(server, settings.Text(objects::kWifiNetwork), settings.Text(objects::kVpnEntry),
                        settings.Text(objects::kVpnUser), settings.Text(objects::kVpnPassword), AnsiBestFitReading))
        throw Failure(*refusal);
    std::vector<std::wstring> done;
    const std::wstring connection_file = folder + kConnectionFile;
    if (KeepsConnectionFileAt(connection_file, server)) {
        done.push_back(L"Kept " + connection_file + L", signed for this server");
    } else {
        const std::wstring text =
            GenerateConnectionText(RequireObject(layout, objects::kConnectionTemplate).LinesText(), server);
        WriteConnectionFile(text, connection_file);
        done.push_back(L"Wrote " + connection_file);
    }
    settings.Store().WriteFileAnew(settings.Store().ReadValues());
    done.push_back(L"Wrote " + settings.Store().path);
    return done;
}
