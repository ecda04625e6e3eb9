// After the failure box is dismissed the program stays in front: the box must find its owner enabled, so that
// Windows hands activation back to the owner, not to the next window in z-order, another program's.
#include "harness.h"

#include "platform/text.h"

#include <gtest/gtest.h>

#include <atomic>
#include <fstream>
#include <thread>

namespace {

// A plain visible window of another program: a thread of this test process with its own message loop.
class OtherProgramWindow {
public:
    OtherProgramWindow() {
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
        thread_ = std::thread([this, ready] {
            WNDCLASSW window_class{};
            window_class.lpfnWndProc = Procedure;
            window_class.hInstance = GetModuleHandleW(nullptr);
            window_class.lpszClassName = L"KavloTestOtherProgram";
            window_class.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
            RegisterClassW(&window_class);
            window_ = CreateWindowExW(0, window_class.lpszClassName, L"Another program",
                                      WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 40, 500, 400, nullptr, nullptr,
                                      window_class.hInstance, nullptr);
            thread_id_ = GetCurrentThreadId();
            SetEvent(ready);
            MSG message;
            while (GetMessageW(&message, nullptr, 0, 0) > 0) {
                TranslateMessage(&message);
                DispatchMessageW(&message);
            }
            DestroyWindow(window_);
        });
        WaitForSingleObject(ready, 10000);
        CloseHandle(ready);
    }
    ~OtherProgramWindow() {
        PostThreadMessageW(thread_id_, WM_QUIT, 0, 0);
        thread_.join();
    }
    OtherProgramWindow(const OtherProgramWindow&) = delete;
    OtherProgramWindow& operator=(const OtherProgramWindow&) = delete;

    HWND Handle() const { return window_; }
    // How often it has been activated since the count was last cleared.
    int Activations() const { return activations.load(); }
    void ClearActivations() { activations = 0; }

private:
    static inline std::atomic<int> activations{0};
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
        if (message == WM_ACTIVATE && LOWORD(wparam) != WA_INACTIVE) ++activations;
        return DefWindowProcW(hwnd, message, wparam, lparam);
    }

    std::thread thread_;
    HWND window_ = nullptr;
    DWORD thread_id_ = 0;
};

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
