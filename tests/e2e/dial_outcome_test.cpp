// How a dial ends, as the user sees it: the stand-in rasdial ends with the exit code and after the time the test
// chooses, and the real program reports a failed dial in its failure box, without blocking its window meanwhile.
#include "harness.h"
#include "other_program_window.h"
#include "platform/text.h"
#include "tests/support/wine_rig.h"

#include <cstdio>
#include <fstream>
#include <optional>
#include <thread>
#include <tlhelp32.h>

#include <gtest/gtest.h>

namespace {
constexpr DWORD kSlowDial = 3000;  // ms: well past the least wait of a second

std::string Utf8(const std::wstring& text) { return WideToUtf8(text); }

// The sentences the program shows. Wine has no text of its own for a RAS error number (its RasGetErrorStringW fails),
// so each ends with the number alone; sentences with Windows' text are in the unit tests' table.
const std::wstring kRefused691 = L"The VPN connection \"Work\" could not be dialled: error 691.";
const std::wstring kFailed800 = L"The VPN connection \"Work\" could not be dialled: error 800.";

class DialOutcome : public testing::Test {
protected:
    void SetUp() override { KAVLO_REQUIRE_SYSTEM_STAND_INS(); }

    // Starts the program with the stand-in rasdial set to end with `exit_code` after `milliseconds`, and fills in
    // and ticks the dial's settings in its (hidden) dialog.
    void StartWithDial(DWORD exit_code, DWORD milliseconds) {
        StartWithDials(std::to_wstring(exit_code), std::to_wstring(milliseconds));
    }
    // The same with a comma-separated exit code and time for each run of rasdial in turn (the hang-up is one).
    void StartWithDials(const std::wstring& exit_codes, const std::wstring& milliseconds) {
        SetEnvironmentVariableW(L"KAVLO_FAKE_RASDIAL_EXIT", exit_codes.c_str());
        SetEnvironmentVariableW(L"KAVLO_FAKE_RASDIAL_MS", milliseconds.c_str());
        program_.emplace(sandbox_);  // the program, and the stand-ins it starts, inherit the two variables
        SetEnvironmentVariableW(L"KAVLO_FAKE_RASDIAL_EXIT", nullptr);
        SetEnvironmentVariableW(L"KAVLO_FAKE_RASDIAL_MS", nullptr);

        launcher_ = program_->WaitForWindow(kFormClass, kLauncherCaption, true);
        ASSERT_NE(launcher_, nullptr) << "the launcher did not show";
        HWND settings = program_->OpenSettings(launcher_);
        ASSERT_NE(settings, nullptr) << "the settings did not open";
        const std::pair<const wchar_t*, const wchar_t*> fields[] = {
            {L"نام اتصال VPN", L"Work"}, {L"VPN User:", L"ali"}, {L"VPN password:", L"secret"}};
        for (const auto& [label, text] : fields) {
            HWND edit = FindEditBeside(settings, label);
            ASSERT_NE(edit, nullptr) << "no field beside " << Utf8(label);
            ASSERT_TRUE(SetText(edit, text));
        }
        HWND use_vpn = FindDescendant(settings, L"Button", L"زمان اتصال VPN استفاده از ");
        ASSERT_NE(use_vpn, nullptr);
        ASSERT_TRUE(Click(use_vpn));
        ASSERT_TRUE(IsChecked(use_vpn));
        ASSERT_TRUE(program_->CloseSettings(settings));
        std::ofstream(sandbox_.Folder() / L"Kavlo.rdp") << "full address:s:192.168.1.1:7777\r\n";
    }

    void TearDown() override {
        if (dial_) {
            if (WaitForSingleObject(dial_, 0) == WAIT_TIMEOUT) TerminateProcess(dial_, 1);
            WaitForSingleObject(dial_, 5000);
            CloseHandle(dial_);
        }
        if (!program_) return;
        for (HWND box : program_->MessageBoxes()) PostMessageW(box, WM_COMMAND, IDOK, 0);
        PostMessageW(launcher_, WM_CLOSE, 0, 0);
        EXPECT_EQ(program_->WaitForExit(), std::optional<DWORD>(0));
    }

    bool PressStart() const {
        HWND start = FindDescendant(launcher_, L"Button", L"Start");
        return start && Press(start);
    }

    std::string BoxTexts() const {
        std::string texts;
        for (HWND box : program_->MessageBoxes()) texts += Utf8(MessageBoxText(box)) + "\n";
        return texts;
    }

    // The stand-in rasdial that the program started, while it runs; kept in dial_ for the test.
    HANDLE WaitForDialProcess() {
        if (dial_) return dial_;
        dial_ = WaitFor(kPatience, [&]() -> HANDLE {
            HANDLE found = nullptr;
            HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
            PROCESSENTRY32W entry{};
            entry.dwSize = sizeof entry;
            for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
                if (entry.th32ParentProcessID == program_->Id() && _wcsicmp(entry.szExeFile, L"rasdial.exe") == 0)
                    found = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, entry.th32ProcessID);
            CloseHandle(snapshot);
            return found;
        });
        return dial_;
    }

    bool DialRunning() const { return dial_ && WaitForSingleObject(dial_, 0) == WAIT_TIMEOUT; }

    // Whether the launcher's thread takes a message now, instead of hanging in a wait.
    bool LauncherAnswers() const {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(launcher_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 2000, &result) != 0;
    }

    Sandbox sandbox_;
    RdpAssociation association_{sandbox_.Folder() / L"rdp_handler.exe"};
    std::optional<ProgramProcess> program_;
    HWND launcher_ = nullptr;
    HANDLE dial_ = nullptr;
};

TEST_F(DialOutcome, ADialThatSucceedsShowsNoBox) {
    ASSERT_NO_FATAL_FAILURE(StartWithDial(0, 1000));
    ASSERT_TRUE(PressStart());
    ASSERT_NE(WaitForDialProcess(), nullptr);
    ASSERT_EQ(WaitForSingleObject(dial_, static_cast<DWORD>(kPatience.count())), WAIT_OBJECT_0);

    HWND box = program_->WaitForMessageBox(std::chrono::milliseconds(1000));  // time for a box to come up, if one would
    EXPECT_EQ(box, nullptr) << Utf8(MessageBoxText(box));
    EXPECT_EQ(sandbox_.WaitForCalls(2).size(), 2u);
}

TEST_F(DialOutcome, ARefusedDialShowsTheReasonAndTheNumberInTheFailureBox) {
    ASSERT_NO_FATAL_FAILURE(StartWithDial(691, 0));
    ASSERT_TRUE(PressStart());

    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no failure box";
    std::wstring text = MessageBoxText(box);
    std::printf("the box for error 691: %s\n", Utf8(text).c_str());
    EXPECT_EQ(text, kRefused691);
    EXPECT_NE(text.find(L"\"Work\""), std::wstring::npos);
    EXPECT_NE(text.find(L"691"), std::wstring::npos);
    EXPECT_EQ(TextOf(box), L"Kavlo_connect") << "the title is the caption";
}

TEST_F(DialOutcome, ASlowDialLeavesTheLauncherAnsweringAndIsReportedWhenItEnds) {
    ASSERT_NO_FATAL_FAILURE(StartWithDial(800, kSlowDial));
    ASSERT_TRUE(PressStart());
    ASSERT_NE(WaitForDialProcess(), nullptr);

    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    ASSERT_TRUE(LauncherAnswers());
    ASSERT_TRUE(DialRunning()) << "the dial ended before the launcher was asked";
    EXPECT_EQ(sandbox_.Calls().size(), 1u) << "the connection file is opened only once the dial has ended";
    EXPECT_EQ(program_->MessageBoxes().size(), 0u);

    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no failure box once the dial ended";
    EXPECT_FALSE(DialRunning());
    EXPECT_EQ(MessageBoxText(box), kFailed800);
}

// Closed while "Start" waits for the dial: the program ends at once, and nothing is opened after.
TEST_F(DialOutcome, ClosingDuringADialEndsAtOnceWithCodeZeroAndReportsNothing) {
    ASSERT_NO_FATAL_FAILURE(StartWithDial(691, kSlowDial));
    ASSERT_TRUE(PressStart());
    ASSERT_NE(WaitForDialProcess(), nullptr);
    ASSERT_EQ(sandbox_.WaitForCalls(1).size(), 1u);

    PostMessageW(launcher_, WM_CLOSE, 0, 0);
    EXPECT_EQ(program_->WaitForExit(), std::optional<DWORD>(0));
    EXPECT_TRUE(DialRunning()) << "the program ended only after the dial";
    ASSERT_EQ(WaitForSingleObject(dial_, static_cast<DWORD>(kPatience.count())), WAIT_OBJECT_0);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));
    EXPECT_EQ(sandbox_.Calls().size(), 1u);
}

// The remote desktop client usually has the foreground when a slow dial fails. The box stands over the launcher:
// owned by the hidden window, Windows would give it no taskbar button and could not bring it to the front.
TEST_F(DialOutcome, ADialFailingWhileAnotherProgramIsInFrontIsShownOverTheLauncher) {
    OtherProgramWindow other;
    ASSERT_NE(other.Handle(), nullptr);
    ASSERT_NO_FATAL_FAILURE(StartWithDial(691, kSlowDial));
    ASSERT_TRUE(PressStart());
    ASSERT_NE(WaitForDialProcess(), nullptr);
    ASSERT_EQ(sandbox_.WaitForCalls(1).size(), 1u);
    SetForegroundWindow(other.Handle());
    ASSERT_TRUE(WaitFor(kPatience, [&] { return GetForegroundWindow() == other.Handle(); }));
    ASSERT_TRUE(DialRunning()) << "the dial ended before another program came to the front";

    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(GetWindow(box, GW_OWNER), launcher_);
    ASSERT_TRUE(Click(GetDlgItem(box, IDOK)));
    ASSERT_TRUE(WaitFor(kPatience, [&] { return program_->MessageBoxes().empty(); }));
    EXPECT_TRUE(IsWindowEnabled(launcher_));
}
}  // namespace
