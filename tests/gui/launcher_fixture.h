#pragma once
// A launcher window made as the program makes it, shown, and removed after the test.
#include "app/application.h"
#include "gui_support.h"
#include "launcher/launcher_window.h"
#include "platform/module_path.h"
#include "settings/settings_dialog.h"
#include "tests/support/files_test_support.h"

#include <memory>
#include <optional>

#include <gtest/gtest.h>

// A launcher made as the program makes it (not yet shown), ended as the program's exit ends it, with its settings
// dialog, when this goes: at the end of its scope, a failed ASSERT's early return included.
class ScopedLauncher {
public:
    ScopedLauncher() : launcher_(&App().CreateMainForm<LauncherWindow>(App().Handle())) {}
    ~ScopedLauncher() {
        if (SettingsDialog* dialog = launcher_->Settings()) App().DestroyForm(*dialog);
        App().DestroyForm(*launcher_);
        PumpMessages();
    }
    ScopedLauncher(const ScopedLauncher&) = delete;
    ScopedLauncher& operator=(const ScopedLauncher&) = delete;

    LauncherWindow* get() const { return launcher_; }
    LauncherWindow* operator->() const { return launcher_; }
    LauncherWindow& operator*() const { return *launcher_; }

private:
    LauncherWindow* launcher_;
};

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
        made_.emplace();
        launcher = made_->get();
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
        launcher = nullptr;
        made_.reset();
    }
    SettingsDialog& Dialog() const { return *launcher->Settings(); }
    // Shows the dialog from the menu; `while_shown` runs inside its modal loop and must close it.
    void WithDialogShown(std::function<void()> while_shown) const {
        RunSoon(std::move(while_shown));
        ClickMenuItem(launcher->Handle(), 0, 0);
    }

    std::optional<ScopedLauncher> made_;
    LauncherWindow* launcher = nullptr;
    std::unique_ptr<FilesTempFolder> folder;
    std::unique_ptr<FilesCurrentDirectory> current;
};
