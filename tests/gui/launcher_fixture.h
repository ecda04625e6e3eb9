#pragma once
// A launcher window made as the program makes it, shown, and removed after the test.
#include "app/application.h"
#include "gui_support.h"
#include "launcher/Min_ucn.h"
#include "settings/Unit2.h"

#include <gtest/gtest.h>

class LauncherTest : public testing::Test {
protected:
    void SetUp() override {
        launcher = App().CreateForm<TForm1>();
        Form1 = launcher;
        launcher->Show();
        PumpMessages();
    }
    void TearDown() override {
        delete launcher->SettingsDialog();
        delete launcher;
        Form1 = nullptr;
        PumpMessages();
    }
    Tsetup_frm& Dialog() const { return *launcher->SettingsDialog(); }
    // Shows the dialog from the menu; `while_shown` runs inside its modal loop and must close it.
    void WithDialogShown(std::function<void()> while_shown) const {
        RunSoon(std::move(while_shown));
        ClickMenuItem(launcher->Handle(), 0, 0);
    }

    TForm1* launcher = nullptr;
};
