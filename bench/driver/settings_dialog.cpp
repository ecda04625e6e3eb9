#include "settings_dialog.h"

#include <stdexcept>

#include "tests/e2e/window_search.h"

namespace {

constexpr wchar_t kFormClass[] = L"KavloForm";
constexpr wchar_t kDialogCaption[] = L"تنظیمات اتصال";
// The menu's first command, FILE → تنظیمات سرور. Menus cannot be read from another process under Wine.
constexpr WORD kSettingsCommand = 40000;

}  // namespace

SettingsDialog::SettingsDialog(const ProgramRun& kavlo) : kavlo_(kavlo) {
    dialog_ = kavlo.FindTopLevel(kFormClass, kDialogCaption);
    save_button_ = dialog_ ? FindDescendant(dialog_, L"Button", L"Save") : nullptr;
    if (!save_button_) throw std::runtime_error("the settings dialog and its Save button were not found");
}

void SettingsDialog::Open() {
    PostMessageW(kavlo_.MainWindow(), WM_COMMAND, MAKEWPARAM(kSettingsCommand, 0), 0);
    WaitUntil([&] { return IsWindowVisible(dialog_) && !IsWindowEnabled(kavlo_.MainWindow()); }, "the settings dialog to open");
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
    kavlo_.WaitUntilIdle();
    Sleep(30);  // the dialog's first paint and focus have finished
    return Click();
}

double SettingsDialog::Click() {
    const double milliseconds = TimedClick(save_button_);
    WaitUntilClosed();
    return milliseconds;
}

void SettingsDialog::WaitUntilClosed() {
    WaitUntil([&] { return !IsWindowVisible(dialog_) && IsWindowEnabled(kavlo_.MainWindow()); }, "the settings dialog to close");
}
