#pragma once
// The settings dialog: it holds the six connection settings in its controls for the whole run.
#include "settings/control_properties.h"
#include "settings/settings_store.h"
#include "ui/form.h"

#include <memory>
#include <string>
#include <vector>

class SettingsDialog : public Form {
public:
    explicit SettingsDialog(FormOwner& owner);

    // The settings as the controls hold them now, saved or not.
    std::wstring WifiNetwork() const { return wifi_network_.Text(); }
    std::wstring ServerAddress() const { return server_address_.Text(); }
    bool UsesVpn() const { return use_vpn_.Checked(); }
    std::wstring VpnEntry() const { return vpn_entry_.Text(); }
    std::wstring VpnUser() const { return vpn_user_.Text(); }
    std::wstring VpnPassword() const { return vpn_password_.Text(); }

    // Whether the connection file at `path` would take "Start" to the template's example address for want of a
    // server: the server field is blank and the file still holds the address of the template this dialog carries.
    // A file that cannot be read is not: its open says why.
    bool ConnectionFileLacksServer(const std::wstring& path) const;

    // The handlers its layout binds.
    void Save();
    void Cancel();

private:
    FormHandlers Handlers();
    static std::wstring SavedText(const StoredValues& values, const Edit& field);

    Edit& wifi_network_;
    Edit& server_address_;
    CheckBox& use_vpn_;
    Edit& vpn_entry_;
    Edit& vpn_user_;
    Edit& vpn_password_;
    Memo& rdp_template_;  // the connection file's template, hidden
    Memo& rdp_text_;      // the connection file's text, made from the template on "Save", hidden
    // The template as the layout gave it (it is never written), so "Save" and "Start" need not ask the memo's window.
    const std::wstring template_text_;
    SettingsStore store_;
    std::vector<std::unique_ptr<ControlProperties>> bound_controls_;
};
