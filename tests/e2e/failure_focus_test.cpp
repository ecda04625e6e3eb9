// After the failure box is dismissed the program stays in front: the box must find its owner enabled, so that
// Windows hands activation back to the owner, not to the next window in z-order, another program's.
#include "harness.h"
#include "other_program_window.h"
#include "platform/text.h"

#include <atomic>
#include <fstream>
#include <thread>

#include <gtest/gtest.h>

namespace {

GUITHREADINFO ThreadStateOf(HWND window) {
    GUITHREADINFO state{};
    state.cbSize = sizeof state;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &state);
    return state;
}

// Keeps a file read-only while it lives, so the sandbox can remove it afterwards.
class ReadOnly {
public:
    explicit ReadOnly(std::filesystem::path path) : path_(std::move(path)) {
        EXPECT_TRUE(SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_READONLY));
    }
    ~ReadOnly() { SetFileAttributesW(path_.c_str(), FILE_ATTRIBUTE_NORMAL); }
    ReadOnly(const ReadOnly&) = delete;
    ReadOnly& operator=(const ReadOnly&) = delete;

private:
    std::filesystem::path path_;
};

std::string Named(HWND window) {
    return window ? WideToUtf8(ClassOf(window) + L" \"" + CaptionOf(window) + L"\"") : "no window";
}

TEST(FailureBoxFocus, AfterAFailedSaveTheSettingsDialogIsActiveAndInFront) {
    Sandbox sandbox;
    const std::filesystem::path connection_file = sandbox.Folder() / L"Kavlo.rdp";
    std::ofstream(connection_file) << "full address:s:192.168.1.1:7777\r\n";
    ReadOnly read_only(connection_file);  // "Save" fails at once
    OtherProgramWindow other;
    ASSERT_NE(other.Handle(), nullptr);
    ProgramProcess program(sandbox);
    HWND launcher = program.WaitForWindow(kFormClass, kLauncherCaption, true);
    ASSERT_NE(launcher, nullptr);
    HWND settings = program.OpenSettings(launcher);
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(WaitFor(kPatience, [&] { return GetForegroundWindow() == settings; }))
        << "in front: " << Named(GetForegroundWindow());
    // Clicked, the button takes the focus, as under the mouse; the focus must come back to it.
    const HWND save = FindDescendant(settings, L"Button", L"Save");
    ASSERT_NE(save, nullptr);
    const HWND focus = save;

    ASSERT_TRUE(Press(save));
    HWND box = program.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(MessageBoxText(box).rfind(L"Cannot create file", 0), 0u) << WideToUtf8(MessageBoxText(box));
    other.ClearActivations();
    ASSERT_TRUE(Click(GetDlgItem(box, IDOK)));
    ASSERT_TRUE(WaitFor(kPatience, [&] { return program.MessageBoxes().empty(); }));

    // Whatever Windows activates as the box goes happens before the box's loop returns; the program then
    // restores its own active window and focus.
    WaitFor(kPatience, [&] { return GetForegroundWindow() == settings && ThreadStateOf(settings).hwndFocus == focus; });
    EXPECT_EQ(other.Activations(), 0) << "the other program's window was activated as the box went";
    EXPECT_EQ(GetForegroundWindow(), settings) << "in front: " << Named(GetForegroundWindow());
    GUITHREADINFO state = ThreadStateOf(settings);
    EXPECT_EQ(state.hwndActive, settings) << "active: " << Named(state.hwndActive);
    EXPECT_EQ(state.hwndFocus, focus);
    EXPECT_TRUE(IsWindowEnabled(settings));
    EXPECT_FALSE(IsWindowEnabled(launcher)) << "the dialog is still modal";

    PostMessageW(settings, WM_CLOSE, 0, 0);
    ASSERT_TRUE(WaitFor(kPatience, [&] { return IsWindowEnabled(launcher) != FALSE; }));
    PostMessageW(launcher, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
}
}  // namespace
