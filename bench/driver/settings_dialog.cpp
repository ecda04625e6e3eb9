#include "settings_dialog.h"

#include <stdexcept>

namespace {

constexpr wchar_t kFormClass[] = L"KavloForm";
constexpr wchar_t kDialogCaption[] = L"تنظیمات اتصال";
// The menu's first command, FILE → تنظیمات سرور. Menus cannot be read from another process under Wine.
constexpr WORD kSettingsCommand = 40000;

HWND FindSaveButton(HWND ancestor) {
    for (HWND child = FindWindowExW(ancestor, nullptr, nullptr, nullptr); child;
         child = FindWindowExW(ancestor, child, nullptr, nullptr)) {
        wchar_t class_name[64] = {}, caption[64] = {};
        GetClassNameW(child, class_name, 64);
        GetWindowTextW(child, caption, 64);
        if (_wcsicmp(class_name, L"Button") == 0 && wcscmp(caption, L"Save") == 0) return child;
        if (HWND found = FindSaveButton(child)) return found;
    }
    return nullptr;
}

}  // namespace

SettingsDialog::SettingsDialog(const ProgramRun& kavlo) : kavlo_(kavlo) {
    dialog_ = kavlo.FindTopLevel(kFormClass, kDialogCaption);
    save_button_ = dialog_ ? FindSaveButton(dialog_) : nullptr;
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
    const LARGE_INTEGER pressed = Now();
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(save_button_, BM_CLICK, 0, 0, SMTO_NORMAL, 30000, &result))
        throw std::runtime_error("the Save button did not answer");
    const double milliseconds = Milliseconds(pressed, Now());
    WaitUntilClosed();
    return milliseconds;
}

void SettingsDialog::WaitUntilClosed() {
    WaitUntil([&] { return !IsWindowVisible(dialog_) && IsWindowEnabled(kavlo_.MainWindow()); }, "the settings dialog to close");
}
