#pragma once
// The settings dialog of Kavlo Connect or of the hand-made reference, driven from outside as the user drives it:
// opened from the menu, closed from its title bar, or left with "Save".
#include "program_run.h"

#include <windows.h>

class SettingsDialog {
public:
    // `form_class`: the class of the program's top-level forms, the launcher's and the dialog's.
    SettingsDialog(const ProgramRun& program, const wchar_t* form_class);

    void Open();
    void CloseFromTitleBar();
    // Opens the dialog, clicks "Save" and waits until the dialog has closed.
    void Save();
    // The same, with the click made once the dialog has settled, as a user's would be; returns how long the
    // click took, from the press until both files were written and the dialog hidden.
    double TimeSave();
    HWND Window() const { return dialog_; }

private:
    void WaitUntilClosed();
    double Click();

    const ProgramRun& program_;
    HWND dialog_ = nullptr;
    HWND save_button_ = nullptr;
};
