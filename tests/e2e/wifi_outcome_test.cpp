// How a Wi-Fi join or leave ends, as the user sees it: the stand-in netsh prints what the test chooses, in the
// console's code page, and ends with the test's exit code after the test's time; the real program reports a failure
// in netsh's own words, without blocking its window meanwhile.
#include "harness.h"
#include "other_program_window.h"
#include "platform/text.h"
#include "tests/support/wine_rig.h"

#include <optional>
#include <thread>
#include <tlhelp32.h>

#include <gtest/gtest.h>

namespace {
std::string Utf8(const std::wstring& text) { return WideToUtf8(text); }

class WifiOutcome : public testing::Test {
protected:
    void SetUp() override { KAVLO_REQUIRE_SYSTEM_STAND_INS(); }

    // Starts the program with the stand-in netsh set to print `printed` and end with `exit_code` after
    // `milliseconds`, and names the network "Office" in its settings.
    void StartWithNetsh(const std::wstring& printed, DWORD exit_code, DWORD milliseconds = 0) {
        SetEnvironmentVariableW(L"KAVLO_FAKE_NETSH_PRINT", printed.c_str());
        SetEnvironmentVariableW(L"KAVLO_FAKE_NETSH_EXIT", std::to_wstring(exit_code).c_str());
        SetEnvironmentVariableW(L"KAVLO_FAKE_NETSH_MS", std::to_wstring(milliseconds).c_str());
        program_.emplace(sandbox_);  // the program, and the stand-ins it starts, inherit the three variables
        for (const wchar_t* name : {L"KAVLO_FAKE_NETSH_PRINT", L"KAVLO_FAKE_NETSH_EXIT", L"KAVLO_FAKE_NETSH_MS"})
            SetEnvironmentVariableW(name, nullptr);

        launcher_ = program_->WaitForWindow(kFormClass, kLauncherCaption, true);
        ASSERT_NE(launcher_, nullptr) << "the launcher did not show";
        HWND settings = program_->OpenSettings(launcher_);
        ASSERT_NE(settings, nullptr) << "the settings did not open";
        ASSERT_TRUE(SetText(FindEditBeside(settings, L"نام شبکه WIFI"), L"Office"));
        ASSERT_TRUE(program_->CloseSettings(settings));
    }

    void TearDown() override {
        if (!program_) return;
        for (HWND box : program_->MessageBoxes()) PostMessageW(box, WM_COMMAND, IDOK, 0);
        PostMessageW(launcher_, WM_CLOSE, 0, 0);
        EXPECT_EQ(program_->WaitForExit(), std::optional<DWORD>(0));
    }

    bool PressButton(const wchar_t* caption) const {
        HWND button = FindDescendant(launcher_, L"Button", caption);
        return button && Press(button);
    }

    // A process of that name the program started, while it runs; nullptr when there is none.
    HANDLE ChildProcess(const wchar_t* name) const {
        HANDLE found = nullptr;
        HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
        PROCESSENTRY32W entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
            if (entry.th32ParentProcessID == program_->Id() && _wcsicmp(entry.szExeFile, name) == 0)
                found = OpenProcess(SYNCHRONIZE, FALSE, entry.th32ProcessID);
        CloseHandle(snapshot);
        return found;
    }

    bool LauncherAnswers() const {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(launcher_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
    }

    Sandbox sandbox_;
    std::optional<ProgramProcess> program_;
    HWND launcher_ = nullptr;
};

struct FailureCase {
    const char* name;
    const wchar_t* button;
    std::wstring printed;
    DWORD exit_code;
    std::wstring sentence;
};
void PrintTo(const FailureCase& c, std::ostream* os) { *os << c.name; }

class WifiFailure : public WifiOutcome, public testing::WithParamInterface<FailureCase> {};

TEST_P(WifiFailure, IsReportedInNetshsOwnWords) {
    const FailureCase& c = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartWithNetsh(c.printed, c.exit_code));
    ASSERT_TRUE(PressButton(c.button));

    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no failure box";
    EXPECT_EQ(MessageBoxText(box), c.sentence) << Utf8(MessageBoxText(box));
    EXPECT_EQ(TextOf(box), L"Kavlo_connect") << "the title is the caption";
    EXPECT_EQ(sandbox_.Calls().size(), 1u) << "netsh ran once";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WifiFailure,
    testing::Values(
        FailureCase{"JoinWithoutAProfile", L"CONNECT WiFi",
                    L"\r\nThere is no profile \"B\u00FCro\" assigned to the specified interface.\r\n\r\n", 1,
                    L"Could not join the Wi-Fi network \"Office\": There is no profile \"B\u00FCro\" assigned to the "
                    L"specified interface."},
        FailureCase{"LeaveWithWiFiOff", L"DISCONNECT WiFi",
                    L"The Wireless AutoConfig Service (wlansvc) is not running.\r\n", 1,
                    L"Could not leave the Wi-Fi network: The Wireless AutoConfig Service (wlansvc) is not running."},
        FailureCase{"SeveralLines", L"CONNECT WiFi", L"  First line.  \r\n\r\n\tSecond line.\n", 2,
                    L"Could not join the Wi-Fi network \"Office\": First line. Second line."},
        FailureCase{"NothingPrinted", L"DISCONNECT WiFi", L"", 5,
                    L"Could not leave the Wi-Fi network: netsh ended with exit code 5."}),
    [](const testing::TestParamInfo<FailureCase>& info) { return std::string(info.param.name); });

TEST_F(WifiOutcome, ASuccessShowsNoBox) {
    ASSERT_NO_FATAL_FAILURE(StartWithNetsh(L"Connection request was completed successfully.\r\n", 0));
    ASSERT_TRUE(PressButton(L"CONNECT WiFi"));
    ASSERT_EQ(sandbox_.WaitForCalls(1).size(), 1u);
    HWND box = program_->WaitForMessageBox(std::chrono::milliseconds(1500));  // time for a box to come up, if one would
    EXPECT_EQ(box, nullptr) << Utf8(MessageBoxText(box));
}

TEST_F(WifiOutcome, ASlowNetshLeavesTheLauncherAnsweringAndIsReportedWhenItEnds) {
    ASSERT_NO_FATAL_FAILURE(StartWithNetsh(L"The network is not available.\r\n", 1, 3000));
    ASSERT_TRUE(PressButton(L"CONNECT WiFi"));
    ASSERT_EQ(sandbox_.WaitForCalls(1).size(), 1u);
    EXPECT_TRUE(LauncherAnswers());
    EXPECT_TRUE(program_->MessageBoxes().empty());

    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no failure box once netsh ended";
    EXPECT_EQ(MessageBoxText(box), L"Could not join the Wi-Fi network \"Office\": The network is not available.");
}

// A button pressed again while its own netsh still runs starts nothing: one run per button at a time, and one
// outcome. Once it has ended, the next press runs netsh again.
TEST_F(WifiOutcome, PressesWhileItsNetshRunsStartNothing) {
    ASSERT_NO_FATAL_FAILURE(StartWithNetsh(L"", 0, 2500));
    for (const wchar_t* button : {L"CONNECT WiFi", L"DISCONNECT WiFi"}) {
        HWND pressed = FindDescendant(launcher_, L"Button", button);
        for (int press = 0; press < 5; ++press) ASSERT_TRUE(Click(pressed));
    }
    ASSERT_EQ(sandbox_.WaitForCalls(2).size(), 2u);
    std::this_thread::sleep_for(std::chrono::milliseconds(3500));  // both netsh have ended, and been taken up
    std::vector<LoggedCall> calls = sandbox_.Calls();
    ASSERT_EQ(calls.size(), 2u) << "one netsh per button";
    EXPECT_EQ(Utf8(calls[0].text), "wlan connect ssid=Office name=Office");
    EXPECT_EQ(Utf8(calls[1].text), "wlan disconnect");

    ASSERT_TRUE(PressButton(L"CONNECT WiFi"));
    EXPECT_EQ(sandbox_.WaitForCalls(3).size(), 3u) << "a press after the run ended runs netsh again";
}

// A failure that arrives while the settings dialog is modal and another program is in front: the box stands over
// the dialog, the program's top window that takes input (the launcher is disabled under it), and after OK the
// launcher is still disabled, so the dialog stays modal.
TEST_F(WifiOutcome, AFailureWhileTheDialogIsOpenInTheBackgroundIsShownOverTheDialog) {
    OtherProgramWindow other;
    ASSERT_NE(other.Handle(), nullptr);
    ASSERT_NO_FATAL_FAILURE(StartWithNetsh(L"The network is not available.\r\n", 1, 3000));
    ASSERT_TRUE(PressButton(L"CONNECT WiFi"));
    ASSERT_EQ(sandbox_.WaitForCalls(1).size(), 1u);
    HWND settings = program_->OpenSettings(launcher_);
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(WaitFor(kPatience, [&] { return GetForegroundWindow() == settings; }));
    ASSERT_TRUE(WaitFor(kPatience, [&] {
        SetForegroundWindow(other.Handle());
        return GetForegroundWindow() == other.Handle();
    }));
    ASSERT_TRUE(program_->MessageBoxes().empty()) << "netsh ended before another program came to the front";

    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no failure box once netsh ended";
    EXPECT_EQ(MessageBoxText(box), L"Could not join the Wi-Fi network \"Office\": The network is not available.");
    EXPECT_EQ(GetWindow(box, GW_OWNER), settings);
    EXPECT_FALSE(IsWindowEnabled(launcher_));
    ASSERT_TRUE(Click(GetDlgItem(box, IDOK)));
    ASSERT_TRUE(WaitFor(kPatience, [&] { return program_->MessageBoxes().empty(); }));

    EXPECT_FALSE(IsWindowEnabled(launcher_)) << "the launcher was enabled under the still modal dialog";
    EXPECT_TRUE(IsWindowEnabled(settings));
    EXPECT_TRUE(IsWindowVisible(settings));
    ASSERT_TRUE(program_->CloseSettings(settings));
    EXPECT_TRUE(WaitFor(kPatience, [&] { return IsWindowEnabled(launcher_) != FALSE; }));
}

TEST_F(WifiOutcome, ClosingWhileNetshRunsEndsAtOnceWithCodeZeroAndReportsNothing) {
    ASSERT_NO_FATAL_FAILURE(StartWithNetsh(L"Failed.\r\n", 1, 5000));
    ASSERT_TRUE(PressButton(L"DISCONNECT WiFi"));
    ASSERT_EQ(sandbox_.WaitForCalls(1).size(), 1u);
    HANDLE netsh = WaitFor(kPatience, [&] { return ChildProcess(L"netsh.exe"); });
    ASSERT_NE(netsh, nullptr);

    PostMessageW(launcher_, WM_CLOSE, 0, 0);
    EXPECT_EQ(program_->WaitForExit(), std::optional<DWORD>(0));
    EXPECT_EQ(WaitForSingleObject(netsh, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "the program ended only after netsh";
    WaitForSingleObject(netsh, static_cast<DWORD>(kPatience.count()));
    CloseHandle(netsh);
    program_.reset();
}
}  // namespace
