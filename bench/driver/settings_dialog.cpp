#include "settings_dialog.h"

#include "tests/support/window_search.h"

#include <stdexcept>

namespace {

constexpr wchar_t kDialogCaption[] = L"تنظیمات اتصال";
// The menu's first command, FILE → تنظیمات سرور, in both programs. Menus cannot be read from another process
// under Wine.
constexpr WORD kSettingsCommand = 40000;

}  // namespace

// The dialog's windows may first exist once it is opened, so it is opened and closed once, as by the user.
SettingsDialog::SettingsDialog(const ProgramRun& program, const wchar_t* form_class) : program_(program) {
    PostMessageW(program_.MainWindow(), WM_COMMAND, MAKEWPARAM(kSettingsCommand, 0), 0);
    WaitUntil(
        [&] {
            dialog_ = program.FindTopLevel(form_class, kDialogCaption);
            return dialog_ && IsWindowVisible(dialog_);
        },
        "the settings dialog to open");
    save_button_ = FindDescendant(dialog_, L"Button", L"Save");
    if (!save_button_) throw std::runtime_error("the settings dialog's Save button was not found");
    CloseFromTitleBar();
}

void SettingsDialog::Open() {
    PostMessageW(program_.MainWindow(), WM_COMMAND, MAKEWPARAM(kSettingsCommand, 0), 0);
    WaitUntil([&] { return IsWindowVisible(dialog_) && !IsWindowEnabled(program_.MainWindow()); },
              "the settings dialog to open");
}

void SettingsDialog::CloseFromTitleBar() {
    PostMessageW(dialog_, WM_SYSCOMMAND, SC_CLOSE, 0);
    WaitUntilClosed();
}

void SettingsDialog::Save() {
    Open();
    Click();
}

double SettingsDialog::TimeSave() {
    Open();
    program_.WaitUntilIdle();
    Sleep(30);  // the dialog's first paint and focus have finished
    return Click();
}

double SettingsDialog::Click() {
    const double milliseconds = TimedClick(save_button_);
    WaitUntilClosed();
    return milliseconds;
}

void SettingsDialog::WaitUntilClosed() {
    WaitUntil([&] { return !IsWindowVisible(dialog_) && IsWindowEnabled(program_.MainWindow()); },
              "the settings dialog to close");
}
