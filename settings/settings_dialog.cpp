#include "settings/settings_dialog.h"

#include "platform/failure.h"
#include "platform/failure_text.h"
#include "platform/module_path.h"
#include "platform/startup_times.h"
#include "settings/connection_file.h"
#include "settings/dial_values.h"

namespace {
// The failure's own sentence, then the settings file's full path and what the user can do about it.
Failure SettingsFileFailure(const Failure& failure, const std::wstring& path) {
    return Failure(FailureBoxText(failure) + L"\r\n\r\nThe settings file is \"" + path +
                   L"\". Correct that file or delete it: without it the program starts with empty settings.");
}
}  // namespace

SettingsDialog::SettingsDialog(FormOwner& owner)
    // Its windows are made when it is first opened; until then its controls hold the restored values.
    : Form(owner, L"SETTINGS_DIALOG", Handlers(), FormWindows::WhenFirstShown),
      wifi_network_(Find<Edit>(L"Edit1")),
      server_address_(Find<Edit>(L"Edit5")),
      use_vpn_(Find<CheckBox>(L"CheckBox2")),
      vpn_entry_(Find<Edit>(L"Edit2")),
      vpn_user_(Find<Edit>(L"Edit3")),
      vpn_password_(Find<Edit>(L"Edit4")),
      rdp_template_(Find<Memo>(L"Memo2")),
      rdp_text_(Find<Memo>(L"Memo1")),
      template_text_(rdp_template_.Text()) {
    StartupStep step(L"settings file, restored into the dialog");
    LoadStoreLayout(*this, Component(L"cxPropertiesStore1"), store_, bound_controls_);
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
// a failure stops it with the dialog open. Each field is read once: every read is a message to its window.
void SettingsDialog::Save() {
    const std::wstring server = server_address_.Text();
    // Checked before anything is written, so both files stay as they were.
    if (BreaksConnectionLine(server)) {
        throw Failure(
            L"The address in \"Server IP\" holds a line break, which would add settings of its own to "
            L"Kavlo.rdp. Type the address on one line");
    }
    if (const auto refusal = DialValueRefusal(vpn_entry_.Text(), vpn_user_.Text(), vpn_password_.Text()))
        throw Failure(*refusal);
    // A Kavlo.rdp an organisation signed for this server stays: the template would throw the signature away. One
    // that cannot be read stops "Save" here, so a signed file is never written over unseen.
    const auto old_file = ReadConnectionFile();
    if (!old_file || !KeepsConnectionFile(*old_file, server)) {
        const std::wstring text = GenerateConnectionText(template_text_, server);
        rdp_text_.SetText(text);
        WriteConnectionFile(text);
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
