// Events that overlap, run with Wine's heap checking (tests/e2e/heap_checked.sh captures what it reports): a close
// while the settings dialog is modal, while a menu's or a move's loop runs, and a logoff in each state the program
// can be in. Each ends the process with
// code 0, stores nothing, and leaves the heap as whole as an ordinary close does.
#include "harness.h"
#include "tests/support/wine_rig.h"

#include <fstream>
#include <optional>

#include <gtest/gtest.h>

namespace {
class HeapChecked : public testing::Test {
protected:
    // Starts the program heap-checked, with the tools' stand-ins set by `environment` (name, value pairs).
    void StartProgram(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> environment = {}) {
        for (const auto& [name, value] : environment) SetEnvironmentVariableW(name, value);
        program_.emplace(sandbox_, std::filesystem::path(), HeapCheck::On);
        for (const auto& [name, value] : environment) SetEnvironmentVariableW(name, nullptr);
        launcher_ = program_->WaitForWindow(kFormClass, kLauncherCaption, true, 2 * kPatience);
        ASSERT_NE(launcher_, nullptr) << "the launcher did not show";
    }

    // Opens the settings and types into them, so that anything stored would show in the settings file.
    HWND OpenSettingsAndType() const {
        HWND settings = program_->OpenSettings(launcher_);
        if (settings) {
            EXPECT_TRUE(SetText(FindEditBeside(settings, L"نام شبکه WIFI"), L"Office"));
        }
        return settings;
    }

    HWND LauncherButton(const wchar_t* caption) const { return FindDescendant(launcher_, L"Button", caption); }
    HWND ApplicationWindow() const { return program_->FindWindowOfClass(kApplicationClass); }

    // The process ended with code 0, nothing was stored, and Wine reported nothing wrong with the heap.
    void ExpectCleanEnd() {
        EXPECT_EQ(program_->WaitForExit(2 * kPatience), std::optional<DWORD>(0));
        EXPECT_FALSE(std::filesystem::exists(sandbox_.Folder() / L"setup_a.ini")) << "something was stored";
        EXPECT_EQ(program_->HeapErrors(), "");
        program_.reset();
    }

    Sandbox sandbox_;
    std::optional<ProgramProcess> program_;
    HWND launcher_ = nullptr;
};

// The ordinary close, the measure for the others.
TEST_F(HeapChecked, OrdinaryClose) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    HWND settings = OpenSettingsAndType();
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(program_->CloseSettings(settings));
    PostMessageW(launcher_, WM_CLOSE, 0, 0);
    ExpectCleanEnd();
}

// A close of the launcher, or of the hidden window (taskkill without /F), while the dialog is modal ends its modal
// loop; the dialog goes only after that.
TEST_F(HeapChecked, CloseWhileTheSettingsAreModal) {
    for (const bool to_launcher : {true, false}) {
        SCOPED_TRACE(to_launcher ? "to the launcher" : "to the hidden window");
        ASSERT_NO_FATAL_FAILURE(StartProgram());
        ASSERT_NE(OpenSettingsAndType(), nullptr);
        PostMessageW(to_launcher ? launcher_ : ApplicationWindow(), WM_CLOSE, 0, 0);
        ExpectCleanEnd();
    }
}

// A visible pop-up menu of the program's (its window class is #32768): a menu's loop runs.
bool MenuShows(const ProgramProcess& program) {
    return WaitFor(kPatience, [&] {
        for (HWND window : TopLevelWindowsOf(program.Id()))
            if (ClassOf(window) == L"#32768" && IsWindowVisible(window)) return true;
        return false;
    });
}

// A close from outside (taskkill, a session manager) while the "FILE" menu is dropped down: the menu's loop takes
// the quit message and goes on, so the close must end the menu too.
TEST_F(HeapChecked, CloseWhileTheMenuIsDown) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    PostMessageW(launcher_, WM_SYSCOMMAND, SC_KEYMENU, 0);  // Alt: the menu bar, "FILE" chosen
    PostMessageW(launcher_, WM_KEYDOWN, VK_DOWN, 0);        // dropped down
    ASSERT_TRUE(MenuShows(*program_)) << "the menu did not drop down";
    PostMessageW(launcher_, WM_CLOSE, 0, 0);
    ExpectCleanEnd();
}

// The same with an edit's context menu open in the modal settings dialog.
TEST_F(HeapChecked, CloseWhileAContextMenuShows) {
    ASSERT_NO_FATAL_FAILURE(StartProgram());
    HWND settings = OpenSettingsAndType();
    ASSERT_NE(settings, nullptr);
    HWND edit = FindEditBeside(settings, L"نام شبکه WIFI");
    PostMessageW(edit, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(edit), MAKELPARAM(-1, -1));  // as from the keyboard
    ASSERT_TRUE(MenuShows(*program_)) << "the context menu did not show";
    PostMessageW(launcher_, WM_CLOSE, 0, 0);
    ExpectCleanEnd();
}

// A dial fails while the user drags the launcher by its caption: the box interrupts the drag, and after it the
// user's Alt+F4 still ends the program.
TEST_F(HeapChecked, CloseAfterABoxInterruptedADrag) {
    KAVLO_REQUIRE_SYSTEM_STAND_INS();
    RdpAssociation association(sandbox_.Folder() / L"rdp_handler.exe");
    std::ofstream(sandbox_.Folder() / L"Kavlo.rdp") << "full address:s:192.168.1.1:7777\r\n";
    ASSERT_NO_FATAL_FAILURE(StartProgram({{L"KAVLO_FAKE_RASDIAL_MS", L"1500"}, {L"KAVLO_FAKE_RASDIAL_EXIT", L"691"}}));
    HWND settings = program_->OpenSettings(launcher_);
    HWND use_vpn = settings ? FindDescendant(settings, L"Button", L"زمان اتصال VPN استفاده از ") : nullptr;
    ASSERT_TRUE(use_vpn && Click(use_vpn) && program_->CloseSettings(settings));
    ASSERT_TRUE(Click(LauncherButton(L"Start")));

    RECT frame{};
    GetWindowRect(launcher_, &frame);
    const POINT on_caption{frame.left + 40, frame.top + GetSystemMetrics(SM_CYFRAME) + 4};
    PostMessageW(launcher_, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(on_caption.x, on_caption.y));
    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "the dial's failure did not show";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor(kPatience, [&] { return program_->MessageBoxes().empty(); }));
    PostMessageW(launcher_, WM_SYSCOMMAND, SC_CLOSE, 0);  // Alt+F4
    ExpectCleanEnd();
}

class LogOff : public HeapChecked, public testing::WithParamInterface<const char*> {
public:
    // Brings the program into the state of that name; false when it did not get there.
    bool Enter(const std::string& state) {
        if (state == "Idle") return true;
        if (state == "DialWatched") {
            std::ofstream(sandbox_.Folder() / L"Kavlo.rdp") << "full address:s:192.168.1.1:7777\r\n";
            HWND settings = program_->OpenSettings(launcher_);
            HWND use_vpn = settings ? FindDescendant(settings, L"Button", L"زمان اتصال VPN استفاده از ") : nullptr;
            if (!use_vpn || !Click(use_vpn) || !program_->CloseSettings(settings)) return false;
            // rasdial, still dialling: "Start" waits for its end before it opens Kavlo.rdp.
            return Click(LauncherButton(L"Start")) && sandbox_.WaitForCalls(1).size() == 1;
        }
        if (state == "NetshWatched")
            return Press(LauncherButton(L"CONNECT WiFi")) && sandbox_.WaitForCalls(1).size() == 1;
        if (state == "DialogModal") return OpenSettingsAndType() != nullptr;
        if (state == "BoxUp")  // "Start" without Kavlo.rdp
            return Press(LauncherButton(L"Start")) && program_->WaitForMessageBox() != nullptr;
        return false;
    }
};

// Windows ends the session: the program ends at once, whatever it was doing, without unwinding from inside a nested
// loop.
TEST_P(LogOff, EndsTheProcessAtOnce) {
    KAVLO_REQUIRE_SYSTEM_STAND_INS();
    RdpAssociation association(sandbox_.Folder() / L"rdp_handler.exe");
    ASSERT_NO_FATAL_FAILURE(StartProgram({{L"KAVLO_FAKE_RASDIAL_MS", L"20000"}, {L"KAVLO_FAKE_NETSH_MS", L"20000"}}));
    ASSERT_TRUE(Enter(GetParam())) << "did not get into the state";

    HWND application = ApplicationWindow();
    ASSERT_NE(application, nullptr);
    DWORD_PTR granted = 0;
    ASSERT_TRUE(SendMessageTimeoutW(application, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000, &granted));
    EXPECT_EQ(granted, TRUE);
    PostMessageW(application, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    ExpectCleanEnd();
}

INSTANTIATE_TEST_SUITE_P(EachState, LogOff,
                         testing::Values("Idle", "DialWatched", "NetshWatched", "DialogModal", "BoxUp"),
                         [](const testing::TestParamInfo<const char*>& info) { return std::string(info.param); });
}  // namespace
