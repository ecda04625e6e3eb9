#pragma once
// A launcher window made as the program makes it, shown, and removed after the test.
#include "app/application.h"
#include "gui_support.h"
#include "launcher/Min_ucn.h"
#include "platform/module_path.h"
#include "settings/Unit2.h"
#include "tests/unit/files_test_support.h"

#include <memory>

#include <gtest/gtest.h>

// Each test starts without a settings file beside the test program and in an empty current directory.
class LauncherTest : public testing::Test {
protected:
    static std::wstring SettingsPath() { return ExecutableDirectory() + L"setup_a.ini"; }
    static void RemoveSettings() {
        SetFileAttributesW(SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileW(SettingsPath().c_str());
    }
    void SetUp() override {
        RemoveSettings();
        folder = std::make_unique<FilesTempFolder>();
        current = std::make_unique<FilesCurrentDirectory>(folder->path());
        Start();
    }
    void Start() {
        launcher = App().CreateForm<TForm1>();
        Form1 = launcher;
        launcher->Show();
        PumpMessages();
    }
    void TearDown() override {
        Stop();
        current.reset();
        folder.reset();
        RemoveSettings();
    }
    // Ends this launcher as the program's exit would; Start() makes the next one, as a new start of the program.
    void Stop() {
        delete launcher->SettingsDialog();
        delete launcher;
        launcher = nullptr;
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
    std::unique_ptr<FilesTempFolder> folder;
    std::unique_ptr<FilesCurrentDirectory> current;
};
