#include "settings/settings_dialog.h"

#include "platform/ansi_best_fit.h"
#include "platform/failure.h"
#include "platform/failure_text.h"
#include "platform/module_path.h"
#include "platform/startup_times.h"
#include "settings/rdp_file.h"
#include "settings/rdp_text.h"
#include "settings/save_refusal.h"
#include "settings/settings_objects.h"

namespace {
// The failure's own sentence, then the settings file's full path and what the user can do about it.
Failure SettingsFileFailure(const Failure& failure, const std::wstring& path) {
    return Failure(FailureBoxText(failure) + L"\r\n\r\nThe settings file is \"" + path +
                   L"\". Correct that file or delete it: without it the program starts with empty settings.");
}
}  // namespace

SettingsDialog::SettingsDialog(FormOwner& owner)
    // Its windows are made when it is first opened; until then its controls hold the restored values.
    : Form(owner, settings_objects::kLayout, Handlers(), FormWindows::WhenFirstShown),
      wifi_network_(Find<Edit>(settings_objects::kWifiNetwork)),
      server_address_(Find<Edit>(settings_objects::kServerAddress)),
      use_vpn_(Find<CheckBox>(settings_objects::kUseVpn)),
      vpn_entry_(Find<Edit>(settings_objects::kVpnEntry)),
      vpn_user_(Find<Edit>(settings_objects::kVpnUser)),
      vpn_password_(Find<Edit>(settings_objects::kVpnPassword)),
      rdp_template_(Find<Memo>(settings_objects::kConnectionTemplate)),
      rdp_text_(Find<Memo>(settings_objects::kConnectionText)) {
    StartupStep step(L"settings file, restored into the dialog");
    LoadStoreLayout(*this, Component(settings_objects::kStore), store_, bound_controls_);
    // The settings live beside the executable, whatever the current directory is.
    store_.path = ExecutableDirectory() + L"setup_a.ini";
    try {
        store_.RestoreFrom();
    } catch (const Failure& failure) {
        // The one box ends the program, so it must say which file to mend; "Save" would write it anew, but the
        // dialog cannot be reached.
        throw SettingsFileFailure(failure, store_.path);
    }
}

// The handlers are bound before the members exist; they only run once the dialog is built.
FormHandlers SettingsDialog::Handlers() {
    FormHandlers handlers;
    handlers.events[L"Save"] = [this] { Save(); };
    handlers.events[L"Cancel"] = [this] { Cancel(); };
    return handlers;
}

// "Save": the connection file first (unless a signed one for this server is kept), then the settings, then close;
// a failure stops it with the dialog open.
void SettingsDialog::Save() {
    // Checked before anything is written, so both files stay as they were.
    if (const auto refusal = SaveRefusal(server_address_.Text(), wifi_network_.Text(), vpn_entry_.Text(),
                                         vpn_user_.Text(), vpn_password_.Text(), AnsiBestFitReading))
        throw Failure(*refusal);
    // A Kavlo.rdp an organisation signed for this server stays: the template would throw the signature away.
    if (!SignedConnectionFileFor(server_address_.Text())) {
        rdp_text_.SetText(GenerateConnectionText(rdp_template_.Text(), server_address_.Text()));
        WriteConnectionFile(rdp_text_.Text());
    }
    store_.StoreTo(true);
    Close();
}

// "Cancel": back to what the settings file holds, where it holds anything. A file damaged meanwhile is named, with
// the remedy, as at start-up; the dialog stays open.
void SettingsDialog::Cancel() {
    try {
        store_.RestoreFrom();
    } catch (const Failure& failure) {
        throw SettingsFileFailure(failure, store_.path);
    }
    Close();
}
