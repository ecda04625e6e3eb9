#include "settings/Unit2.h"

#include "app/failure_text.h"
#include "platform/failure.h"
#include "platform/module_path.h"
#include "platform/startup_times.h"
#include "settings/rdp_file.h"
#include "settings/rdp_text.h"

namespace {
// The failure's own sentence, then the settings file's full path and what the user can do about it.
Failure SettingsFileFailure(const Failure& failure, const std::wstring& path) {
    return Failure(FailureBoxText(failure) + L"\r\n\r\nThe settings file is \"" + path +
                   L"\". Correct that file or delete it: without it the program starts with empty settings.");
}
}  // namespace

Tsetup_frm::Tsetup_frm(FormOwner& AOwner)
    // Its windows are made when it is first opened; until then its controls hold the restored values.
    : Form(AOwner, L"TSETUP_FRM", Handlers(), FormWindows::WhenFirstShown),
      Label1(Find<TLabel>(L"Label1")),
      Edit1(Find<TEdit>(L"Edit1")),
      Label2(Find<TLabel>(L"Label2")),
      Edit2(Find<TEdit>(L"Edit2")),
      Label3(Find<TLabel>(L"Label3")),
      Edit3(Find<TEdit>(L"Edit3")),
      Label4(Find<TLabel>(L"Label4")),
      Edit4(Find<TEdit>(L"Edit4")),
      Panel1(Find<TPanel>(L"Panel1")),
      Button1(Find<TButton>(L"Button1")),
      Button2(Find<TButton>(L"Button2")),
      Edit5(Find<TEdit>(L"Edit5")),
      Label5(Find<TLabel>(L"Label5")),
      Memo1(Find<TMemo>(L"Memo1")),
      Memo2(Find<TMemo>(L"Memo2")),
      CheckBox2(Find<TCheckBox>(L"CheckBox2")) {
    StartupStep step(L"settings file, restored into the dialog");
    LoadStoreLayout(*this, Component(L"cxPropertiesStore1"), cxPropertiesStore1, bound_controls_);
    // The settings live beside the executable, whatever the current directory is.
    cxPropertiesStore1.StorageName = ExecutableDirectory() + L"setup_a.ini";
    try {
        cxPropertiesStore1.RestoreFrom();
    } catch (const Failure& failure) {
        // The one box ends the program, so it must say which file to mend; "Save" would write it anew, but the
        // dialog cannot be reached.
        throw SettingsFileFailure(failure, cxPropertiesStore1.StorageName);
    }
}

// The handlers are bound before the members exist; they only run once the dialog is built.
FormHandlers Tsetup_frm::Handlers() {
    FormHandlers handlers;
    handlers.events[L"Button1Click"] = [this] { Button1Click(); };
    handlers.events[L"Button2Click"] = [this] { Button2Click(); };
    return handlers;
}

// "Save": the connection file first, then the settings, then close; a failure stops it with the dialog open.
void Tsetup_frm::Button1Click() {
    // Checked before anything is written, so both files stay as they were.
    if (BreaksConnectionLine(Edit5.Text())) {
        throw Failure(L"The address in \"Server IP\" holds a line break, which would add settings of its own to "
                      L"Kavlo.rdp. Type the address on one line");
    }
    Memo1.SetText(GenerateConnectionText(Memo2.Text(), Edit5.Text()));
    WriteConnectionFile(Memo1.Text());
    cxPropertiesStore1.StoreTo(true);
    Close();
}

// "Cancel": back to what the settings file holds, where it holds anything.
void Tsetup_frm::Button2Click() {
    cxPropertiesStore1.RestoreFrom();
    Close();
}
