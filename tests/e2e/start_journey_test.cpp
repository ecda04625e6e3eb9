// "Start" from the click to the remote desktop, on the real exe: the stand-in rasdial takes the time and ends with the
// exit code each row chooses, and Kavlo.rdp is opened (the stand-in handler writes it down) once the dial has ended,
// never sooner than a second after it began, once per "Start".
#include "harness.h"
#include "platform/text.h"
#include "tests/support/wine_rig.h"

#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace {
namespace fs = std::filesystem;

std::string Utf8(const std::wstring& text) { return WideToUtf8(text); }

std::string Describe(const std::vector<LoggedCall>& calls) {
    std::string text;
    for (const LoggedCall& call : calls) text += "\n  " + Utf8(call.program) + " [" + Utf8(call.text) + "]";
    return calls.empty() ? "no calls" : text;
}

std::vector<std::wstring> Programs(const std::vector<LoggedCall>& calls) {
    std::vector<std::wstring> programs;
    for (const LoggedCall& call : calls) programs.push_back(call.program);
    return programs;
}

// The prefix's system folder, without a trailing backslash.
fs::path SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

const std::vector<std::wstring> kDialThenOpen{L"rasdial", L"rdp_handler"};

class StartJourney : public testing::Test {
protected:
    void SetUp() override {
        KAVLO_REQUIRE_SYSTEM_STAND_INS();
        current_ = sandbox_.Folder() / L"Downloads";
        ASSERT_TRUE(fs::create_directory(current_));
    }

    void TearDown() override {
        if (!program_) return;
        for (HWND box : program_->MessageBoxes()) PostMessageW(box, WM_COMMAND, IDOK, 0);
        PostMessageW(launcher_, WM_CLOSE, 0, 0);
        EXPECT_EQ(program_->WaitForExit(), std::optional<DWORD>(0));
    }

    // Starts the program in Downloads (holding Kavlo.rdp when `connection_file`) with the stand-in rasdial set to end
    // with each run's exit code after its time (comma-separated, one number per run), and types the VPN values
    // into the settings, the use-VPN flag ticked.
    void StartProgram(const wchar_t* exit_codes, const wchar_t* milliseconds, const std::wstring& entry = L"Work",
                      const std::wstring& user = L"ali", const std::wstring& password = L"secret",
                      bool connection_file = true) {
        if (connection_file) std::ofstream(current_ / L"Kavlo.rdp") << "full address:s:192.168.1.1:7777\r\n";
        SetEnvironmentVariableW(L"KAVLO_FAKE_RASDIAL_EXIT", exit_codes);
        SetEnvironmentVariableW(L"KAVLO_FAKE_RASDIAL_MS", milliseconds);
        program_.emplace(sandbox_, current_);
        SetEnvironmentVariableW(L"KAVLO_FAKE_RASDIAL_EXIT", nullptr);
        SetEnvironmentVariableW(L"KAVLO_FAKE_RASDIAL_MS", nullptr);
        launcher_ = program_->WaitForWindow(kFormClass, kLauncherCaption, true);
        ASSERT_NE(launcher_, nullptr) << "the launcher did not show";
        HWND settings = program_->OpenSettings(launcher_);
        ASSERT_NE(settings, nullptr);
        const std::pair<const wchar_t*, std::wstring> fields[] = {
            {L"نام اتصال VPN", entry}, {L"VPN User:", user}, {L"VPN password:", password}};
        for (const auto& [label, text] : fields) ASSERT_TRUE(SetText(FindEditBeside(settings, label), text));
        HWND use_vpn = FindDescendant(settings, L"Button", L"زمان اتصال VPN استفاده از ");
        ASSERT_TRUE(Click(use_vpn));
        ASSERT_TRUE(program_->CloseSettings(settings));
    }

    bool PressStart() const { return Press(FindDescendant(launcher_, L"Button", L"Start")); }

    // What has been logged once `settle` has passed with nothing more coming.
    std::vector<LoggedCall> CallsAfter(std::chrono::milliseconds settle) const {
        std::this_thread::sleep_for(settle);
        return sandbox_.Calls();
    }

    bool LauncherAnswers() const {
        DWORD_PTR result = 0;
        return SendMessageTimeoutW(launcher_, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 500, &result) != 0;
    }

    Sandbox sandbox_;
    RdpAssociation association_{sandbox_.Folder() / L"rdp_handler.exe"};
    fs::path current_;
    std::optional<ProgramProcess> program_;
    HWND launcher_ = nullptr;
};

// The open waits for the dial's end, and the launcher answers at once meanwhile.
TEST_F(StartJourney, ASlowDialIsFollowedByOneOpenAfterItsEnd) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(L"0", L"3000"));
    ASSERT_TRUE(PressStart());
    ASSERT_EQ(sandbox_.WaitForCalls(1).size(), 1u);
    for (int i = 0; i < 4; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(400));
        EXPECT_TRUE(LauncherAnswers()) << "the launcher hangs during the dial";
    }
    EXPECT_EQ(sandbox_.Calls().size(), 1u) << "opened while the dial still runs" << Describe(sandbox_.Calls());

    std::vector<LoggedCall> calls = sandbox_.WaitForCalls(2);
    calls = CallsAfter(std::chrono::milliseconds(1500));
    ASSERT_EQ(Programs(calls), kDialThenOpen) << Describe(calls);
    EXPECT_EQ(Utf8(calls[1].text), Utf8((current_ / L"Kavlo.rdp").wstring()));
    EXPECT_GE(calls[1].time, calls[0].time + 3000);
    EXPECT_LT(calls[1].time, calls[0].time + 3000 + 1500) << "the open follows the dial's end closely";
    EXPECT_TRUE(program_->MessageBoxes().empty());
}

TEST_F(StartJourney, AQuickDialIsFollowedByTheOpenASecondAfterItBegan) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(L"0", L"0"));
    ASSERT_TRUE(PressStart());

    std::vector<LoggedCall> calls = sandbox_.WaitForCalls(2);
    ASSERT_EQ(Programs(calls), kDialThenOpen) << Describe(calls);
    EXPECT_GE(calls[1].time, calls[0].time + 1000);
    EXPECT_LT(calls[1].time, calls[0].time + 1000 + 1500);
}

// First the failure box; Kavlo.rdp is opened once the user has closed it.
TEST_F(StartJourney, AFailedDialShowsItsBoxThenOpens) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(L"691", L"0"));
    ASSERT_TRUE(PressStart());

    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no failure box";
    EXPECT_EQ(MessageBoxText(box), L"The VPN connection \"Work\" could not be dialled: error 691.");
    std::vector<LoggedCall> calls = CallsAfter(std::chrono::milliseconds(1500));
    EXPECT_EQ(Programs(calls), std::vector<std::wstring>{L"rasdial"}) << "opened while the box was up";

    ASSERT_TRUE(Click(GetDlgItem(box, IDOK)));
    calls = sandbox_.WaitForCalls(2);
    ASSERT_EQ(Programs(calls), kDialThenOpen) << Describe(calls);
}

TEST_F(StartJourney, ThreePressesWhileDiallingMakeOneDialAndOneOpen) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(L"0", L"2000"));
    for (int press = 0; press < 3; ++press) {
        ASSERT_TRUE(PressStart());
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
    }

    std::vector<LoggedCall> calls = sandbox_.WaitForCalls(2);
    calls = CallsAfter(std::chrono::milliseconds(2000));
    EXPECT_EQ(Programs(calls), kDialThenOpen) << Describe(calls);
}

// The dialled entry is hung up (its name is not "Kavlo"); the dial then ends with 631, which the user caused.
TEST_F(StartJourney, ClearingVpnWhileDiallingHangsUpTheDialledEntryAndOpensNothing) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(L"631,0", L"3000,0", L"Office VPN"));
    HWND vpn = FindDescendant(launcher_, L"Button", L"VPN");
    ASSERT_TRUE(Click(vpn));  // ticked: runs nothing
    ASSERT_TRUE(PressStart());
    ASSERT_EQ(sandbox_.WaitForCalls(1).size(), 1u);
    ASSERT_TRUE(Click(vpn));  // cleared

    std::vector<LoggedCall> calls = sandbox_.WaitForCalls(2);
    calls = CallsAfter(std::chrono::milliseconds(4000));  // past the dial's end and a second more
    ASSERT_EQ(Programs(calls), (std::vector<std::wstring>{L"rasdial", L"rasdial"})) << Describe(calls);
    EXPECT_EQ(Utf8(calls[1].text), "\"Office VPN\"  /DISCONNECT");
    EXPECT_TRUE(program_->MessageBoxes().empty());
}

TEST_F(StartJourney, EmptyUserAndPasswordDialTheEntryAlone) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(L"0", L"0", L"Work", L"", L""));
    ASSERT_TRUE(PressStart());

    std::vector<LoggedCall> calls = sandbox_.WaitForCalls(2);
    ASSERT_EQ(Programs(calls), kDialThenOpen) << Describe(calls);
    EXPECT_EQ(Utf8(calls[0].text), "Work");
}

TEST_F(StartJourney, AValueBeginningWithASlashIsRefusedAndNothingStarts) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(L"0", L"0", L"Work", L"/PHONE:10.9.9.9"));
    ASSERT_TRUE(PressStart());

    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no failure box";
    const std::wstring text = MessageBoxText(box);
    EXPECT_NE(text.find(L"\"VPN User\" begins with \"/\""), std::wstring::npos) << Utf8(text);
    EXPECT_TRUE(CallsAfter(std::chrono::milliseconds(1500)).empty()) << Describe(sandbox_.Calls());
}

// Only Kavlo.rdp in the current folder is opened: one beside the program or in the system folder is not.
TEST_F(StartJourney, NoConnectionFileHereIsReportedAndNoneElsewhereIsOpened) {
    const fs::path elsewhere = SystemFolder() / L"Kavlo.rdp";
    std::ofstream(elsewhere) << "full address:s:10.6.6.6\r\n";
    std::ofstream(sandbox_.Folder() / L"Kavlo.rdp") << "full address:s:10.6.6.6\r\n";
    ASSERT_NO_FATAL_FAILURE(StartProgram(L"0", L"0", L"Work", L"ali", L"secret", false));
    ASSERT_TRUE(PressStart());

    HWND box = program_->WaitForMessageBox();
    std::error_code ignored;
    fs::remove(elsewhere, ignored);
    ASSERT_NE(box, nullptr) << "no failure box";
    const std::wstring text = MessageBoxText(box);
    EXPECT_EQ(text.rfind(L"Cannot open \"" + (current_ / L"Kavlo.rdp").wstring() + L"\": ", 0), 0u) << Utf8(text);
    std::vector<LoggedCall> calls = CallsAfter(std::chrono::milliseconds(500));
    EXPECT_EQ(Programs(calls), std::vector<std::wstring>{L"rasdial"}) << Describe(calls);
}

// rasdial (the dial and the hang-up) and netsh run in the system folder, not in Downloads.
TEST_F(StartJourney, TheToolsRunInTheSystemFolder) {
    ASSERT_NO_FATAL_FAILURE(StartProgram(L"0", L"0"));
    ASSERT_TRUE(PressStart());
    ASSERT_EQ(sandbox_.WaitForCalls(2).size(), 2u);
    ASSERT_TRUE(Click(FindDescendant(launcher_, L"Button", L"CONNECT WiFi")));
    HWND vpn = FindDescendant(launcher_, L"Button", L"VPN");
    ASSERT_TRUE(Click(vpn));
    ASSERT_TRUE(Click(vpn));  // cleared: the hang-up
    ASSERT_EQ(sandbox_.WaitForCalls(4).size(), 4u) << Describe(sandbox_.Calls());

    std::vector<LoggedCall> folders;
    WaitFor(kPatience, [&] { return (folders = sandbox_.CurrentFolders()).size() >= 3; });
    ASSERT_EQ(folders.size(), 3u);
    for (const LoggedCall& folder : folders) {
        EXPECT_TRUE(fs::equivalent(fs::path(folder.text), SystemFolder()))
            << Utf8(folder.program) << " ran in " << Utf8(folder.text);
    }
}
}  // namespace
