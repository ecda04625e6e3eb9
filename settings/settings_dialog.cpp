#include "settings/settings_dialog.h"

#include "platform/ansi_best_fit.h"
#include "platform/failure.h"
#include "platform/failure_text.h"
#include "platform/files.h"
#include "platform/module_path.h"
#include "platform/startup_times.h"
#include "settings/connection_file.h"
#include "settings/connection_placeholder.h"
#include "settings/save_refusal.h"
#include "settings/settings_file_cause.h"
#include "settings/settings_objects.h"

namespace {
// Restores the settings from the file; a failure names the file, why it failed and what the user can do about it:
// wait for a program that holds it, reconnect for one that is not here, and only for one that was read and found
// damaged, correct or delete it (in a synchronised folder a deletion would reach every device).
void RestoreNamingTheCause(SettingsStore& store, SettingsFileMoment moment) {
    const FileContent file = store.ReadStoredFile();
    if (file.failure) {
        throw Failure(SettingsFileFailureText(FailureBoxText(*file.failure), store.path,
                                              SettingsFileCauseOf(file.error), moment));
    }
    try {
        store.RestoreFrom(file.bytes);
    } catch (const Failure& failure) {
        throw Failure(SettingsFileFailureText(FailureBoxText(failure), store.path, SettingsFileCauseOf(0), moment));
    }
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
      rdp_text_(Find<Memo>(settings_objects::kConnectionText)),
      template_text_(rdp_template_.Text()) {
    StartupStep step(L"settings file, restored into the dialog");
    LoadStoreLayout(*this, Component(settings_objects::kStore), store_, bound_controls_);
    // The settings live beside the executable, whatever the current directory is.
    store_.path = ExecutableDirectory() + settings_objects::kSettingsFile;
    // The one box ends the program, so it must say what to do; "Save" would write the file anew, but the dialog
    // cannot be reached.
    RestoreNamingTheCause(store_, SettingsFileMoment::Startup);
}

// The handlers are bound before the members exist; they only run once the dialog is built.
FormHandlers SettingsDialog::Handlers() {
    FormHandlers handlers;
    handlers.events[L"Save"] = [this] { Save(); };
    handlers.events[L"Cancel"] = [this] { Cancel(); };
    return handlers;
}

// "Save": the connection file first (unless a signed one for this server is kept), then the settings, then close;
// a failure stops it with the dialog open. Each setting is read from its window once (every read is a message to a
// styled control), and what is checked is what gets written.
void SettingsDialog::Save() {
    const StoredValues values = store_.ReadValues();
    const std::wstring server = SavedText(values, server_address_);
    // Checked before anything is written, so both files stay as they were.
    if (const auto refusal =
            SaveRefusal(server, SavedText(values, wifi_network_), SavedText(values, vpn_entry_),
                        SavedText(values, vpn_user_), SavedText(values, vpn_password_), AnsiBestFitReading))
        throw Failure(*refusal);
    // A Kavlo.rdp an organisation signed for this server stays: the template would throw the signature away. One
    // that cannot be read stops "Save" here, so a signed file is never written over unseen.
    if (!KeepsConnectionFileAt(kConnectionFile, server)) {
        const std::wstring text = GenerateConnectionText(template_text_, server);
        rdp_text_.SetText(text);
        WriteConnectionFile(text);
    }
    store_.WriteFileAnew(values);
    Close();
}

// A field's text as read for "Save"; the field itself where the store does not keep it.
std::wstring SettingsDialog::SavedText(const StoredValues& values, const Edit& field) {
    const std::wstring* text = FindStoredValue(values, field.Name(), L"Text");
    return text != nullptr ? *text : field.Text();
}

// "Cancel": back to what the settings file holds, where it holds anything. A file that cannot be restored is named,
// with the cause and its remedy, as at start-up; the dialog stays open.
void SettingsDialog::Cancel() {
    RestoreNamingTheCause(store_, SettingsFileMoment::Cancel);
    Close();
}

bool SettingsDialog::ConnectionFileLacksServer(const std::wstring& path) const {
    const auto text = ConnectionFileText(path);
    return text && LacksServerAddress(server_address_.Text(), *text, template_text_);
}
