// The launcher's commands as the real program hands them over: stand-ins for rasdial and netsh lie in the system
// folder (look-alikes that must never run lie beside the exe) and the .rdp association leads to a stand-in
// handler; each writes down how it was called.
#include "harness.h"
#include "platform/text.h"
#include "tests/support/file_bytes.h"
#include "tests/support/wine_rig.h"

#include <fstream>
#include <functional>
#include <thread>

#include <gtest/gtest.h>

namespace {
std::string Utf8(const std::wstring& text) { return WideToUtf8(text); }

std::string Describe(const std::vector<LoggedCall>& calls) {
    std::string text;
    for (const LoggedCall& call : calls) text += "\n  " + Utf8(call.program) + " [" + Utf8(call.text) + "]";
    return calls.empty() ? "no calls" : text;
}

class LauncherActions : public testing::Test {
protected:
    void SetUp() override {
        KAVLO_REQUIRE_SYSTEM_STAND_INS();
        launcher_ = program_.WaitForWindow(kFormClass, kLauncherCaption, true);
        ASSERT_NE(launcher_, nullptr) << "the launcher did not show";
    }

    void TearDown() override {
        if (IsSkipped()) return;
        PostMessageW(launcher_, WM_CLOSE, 0, 0);
        EXPECT_EQ(program_.WaitForExit(), std::optional<DWORD>(0));
    }

    HWND LauncherButton(const wchar_t* caption) const {
        HWND button = FindDescendant(launcher_, L"Button", caption);
        EXPECT_NE(button, nullptr) << "no button " << Utf8(caption);
        return button;
    }

    // Opens the settings from the launcher's menu, runs `fill` (typing and ticking in them), and closes them
    // from their title bar, which keeps what was typed, as the user leaves them.
    void InSettings(const std::function<void()>& fill) {
        settings_ = program_.OpenSettings(launcher_);
        ASSERT_NE(settings_, nullptr) << "the settings did not open";
        ASSERT_NO_FATAL_FAILURE(fill());
        ASSERT_TRUE(program_.CloseSettings(settings_));
    }

    // Types into the settings' field beside that label.
    void Type(const wchar_t* label, const std::wstring& text) const {
        HWND edit = FindEditBeside(settings_, label);
        ASSERT_NE(edit, nullptr) << "no field beside " << Utf8(label);
        ASSERT_TRUE(SetText(edit, text));
    }

    void TickUseVpn() const {
        HWND box = FindDescendant(settings_, L"Button", L"زمان اتصال VPN استفاده از ");
        ASSERT_NE(box, nullptr);
        ASSERT_TRUE(Click(box));
        ASSERT_TRUE(IsChecked(box));
    }

    std::filesystem::path ConnectionFile() const { return sandbox_.Folder() / L"Kavlo.rdp"; }

    void WriteConnectionFile() const { std::ofstream(ConnectionFile()) << "full address:s:127.0.0.1:3389\r\n"; }

    // The texts of the message boxes the program shows now.
    std::vector<std::string> MessageBoxTexts() const {
        std::vector<std::string> texts;
        for (HWND box : program_.MessageBoxes()) texts.push_back(Utf8(MessageBoxText(box)));
        return texts;
    }

    Sandbox sandbox_;
    RdpAssociation association_{sandbox_.Folder() / L"rdp_handler.exe"};
    ProgramProcess program_{sandbox_};
    HWND launcher_ = nullptr;
    HWND settings_ = nullptr;
};

TEST_F(LauncherActions, StartWithVpnDialsThenOpensTheConnectionFileAfterTheDial) {
    WriteConnectionFile();
    ASSERT_NO_FATAL_FAILURE(InSettings([&] {
        ASSERT_NO_FATAL_FAILURE(Type(L"نام اتصال VPN", L"VPN Connection"));
        ASSERT_NO_FATAL_FAILURE(Type(L"VPN User:", L"ali"));
        ASSERT_NO_FATAL_FAILURE(Type(L"VPN password:", L"se cret"));
        ASSERT_NO_FATAL_FAILURE(TickUseVpn());
    }));

    ASSERT_TRUE(Click(LauncherButton(L"Start")));

    std::vector<LoggedCall> calls = sandbox_.WaitForCalls(2);
    ASSERT_EQ(calls.size(), 2u) << Describe(calls);
    EXPECT_EQ(calls[0].program, L"rasdial");
    EXPECT_EQ(Utf8(calls[0].text), "\"VPN Connection\" ali \"se cret\"");
    EXPECT_EQ(calls[1].program, L"rdp_handler");
    EXPECT_EQ(Utf8(calls[1].text), Utf8(ConnectionFile().wstring()));
    EXPECT_GE(calls[1].time, calls[0].time + 1000);
}

// The shell opens nothing for a file that is not there: the box names the file where "Start" looked and says how to
// make it; a later "Start" finds the file once it exists, and says nothing.
TEST_F(LauncherActions, StartWithoutTheConnectionFileSaysWhereItLookedAndHowToMakeIt) {
    ASSERT_FALSE(std::filesystem::exists(ConnectionFile()));

    ASSERT_TRUE(Press(LauncherButton(L"Start")));
    HWND box = program_.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no failure box";
    const std::wstring text = MessageBoxText(box);
    EXPECT_EQ(text.rfind(L"Cannot open \"" + ConnectionFile().wstring() + L"\": ", 0), 0u) << Utf8(text);
    const std::size_t address = text.find(L"type the server address IT gave you");
    EXPECT_NE(address, std::wstring::npos) << Utf8(text);
    EXPECT_GT(text.find(L"press \"Save\""), address) << "the address first, then \"Save\": " << Utf8(text);
    EXPECT_TRUE(sandbox_.Calls().empty()) << Describe(sandbox_.Calls());
    ASSERT_TRUE(Click(GetDlgItem(box, IDOK)));
    ASSERT_TRUE(WaitFor(kPatience, [&] { return program_.MessageBoxes().empty(); }));

    WriteConnectionFile();
    ASSERT_TRUE(Click(LauncherButton(L"Start")));
    std::vector<LoggedCall> calls = sandbox_.WaitForCalls(1);
    ASSERT_EQ(calls.size(), 1u) << Describe(calls);
    EXPECT_EQ(calls[0].program, L"rdp_handler");
    EXPECT_EQ(Utf8(calls[0].text), Utf8(ConnectionFile().wstring()));
    EXPECT_EQ(MessageBoxTexts(), std::vector<std::string>{});
}

// "Save" with the server left blank writes the template as it stands, example address and all; "Start" then opens
// nothing, which on a home network might reach the router, and says the address is missing. That very address typed
// as the server is the user's, and opens.
TEST_F(LauncherActions, StartOpensNothingForTheExampleAddressWhileTheServerIsBlank) {
    const auto save_with_server = [&](const std::wstring& server) {
        settings_ = program_.OpenSettings(launcher_);
        ASSERT_NE(settings_, nullptr) << "the settings did not open";
        ASSERT_NO_FATAL_FAILURE(Type(L"Server IP:", server));
        ASSERT_TRUE(program_.SaveSettings(settings_)) << "the settings stayed open";
    };
    ASSERT_NO_FATAL_FAILURE(save_with_server(L""));
    const std::string content = ReadBytes(ConnectionFile());  // closed again before the next "Save" replaces it
    ASSERT_NE(content.find("full address:s:192.168.1.1:7777\r\n"), std::string::npos) << "the template as it stands";

    ASSERT_TRUE(Press(LauncherButton(L"Start")));
    HWND box = program_.WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no failure box";
    EXPECT_EQ(MessageBoxText(box),
              L"The server address is missing: \"Server IP\" in the settings is empty, so Kavlo.rdp holds only an "
              L"example address, and nothing was opened. To connect, open FILE \u203A \"تنظیمات سرور\", type the "
              L"server address IT gave you in \"Server IP\" and press \"Save\".");
    EXPECT_TRUE(sandbox_.Calls().empty()) << Describe(sandbox_.Calls());
    ASSERT_TRUE(Click(GetDlgItem(box, IDOK)));
    ASSERT_TRUE(WaitFor(kPatience, [&] { return program_.MessageBoxes().empty(); }));

    ASSERT_NO_FATAL_FAILURE(save_with_server(L"192.168.1.1:7777"));
    ASSERT_TRUE(Click(LauncherButton(L"Start")));
    std::vector<LoggedCall> calls = sandbox_.WaitForCalls(1);
    ASSERT_EQ(calls.size(), 1u) << Describe(calls);
    EXPECT_EQ(calls[0].program, L"rdp_handler");
    EXPECT_EQ(MessageBoxTexts(), std::vector<std::string>{});
}

TEST_F(LauncherActions, WifiButtonsRunNetsh) {
    ASSERT_NO_FATAL_FAILURE(
        InSettings([&] { ASSERT_NO_FATAL_FAILURE(Type(L"نام شبکه WIFI", L"شبکه‌دفتر")); }));

    ASSERT_TRUE(Click(LauncherButton(L"CONNECT WiFi")));
    ASSERT_EQ(sandbox_.WaitForCalls(1).size(), 1u);
    ASSERT_TRUE(Click(LauncherButton(L"DISCONNECT WiFi")));

    std::vector<LoggedCall> calls = sandbox_.WaitForCalls(2);
    ASSERT_EQ(calls.size(), 2u) << Describe(calls);
    EXPECT_EQ(calls[0].program, L"netsh");
    EXPECT_EQ(Utf8(calls[0].text), Utf8(L"wlan connect ssid=شبکه‌دفتر name=شبکه‌دفتر"));
    EXPECT_EQ(calls[1].program, L"netsh");
    EXPECT_EQ(Utf8(calls[1].text), "wlan disconnect");
}

TEST_F(LauncherActions, ClearingVpnHangsUpAndTickingItRunsNothing) {
    HWND vpn = LauncherButton(L"VPN");
    ASSERT_FALSE(IsChecked(vpn));

    ASSERT_TRUE(Click(vpn));
    ASSERT_TRUE(IsChecked(vpn));
    ASSERT_TRUE(Click(vpn));
    ASSERT_FALSE(IsChecked(vpn));

    std::vector<LoggedCall> calls = sandbox_.WaitForCalls(1);
    std::this_thread::sleep_for(std::chrono::milliseconds(500));  // a stray call from the tick would show by now
    calls = sandbox_.Calls();
    ASSERT_EQ(calls.size(), 1u) << Describe(calls);
    EXPECT_EQ(calls[0].program, L"rasdial");
    EXPECT_EQ(Utf8(calls[0].text), "Kavlo  /DISCONNECT");
}
}  // namespace

namespace {
// Started from a folder such as Downloads that holds look-alike rasdial.exe and netsh.exe (so does the program's
// own folder): every command still reaches the system's tools.
TEST(SystemTools, RunFromTheSystemFolderWhateverLiesInTheCurrentFolder) {
    KAVLO_REQUIRE_SYSTEM_STAND_INS();
    Sandbox sandbox;
    RdpAssociation association(sandbox.Folder() / L"rdp_handler.exe");
    const std::filesystem::path current = sandbox.Folder() / L"Downloads";
    ASSERT_TRUE(std::filesystem::create_directory(current));
    sandbox.PlantStrayTools(current);
    std::ofstream(current / L"Kavlo.rdp") << "full address:s:127.0.0.1:3389\r\n";
    ProgramProcess program(sandbox, current);
    HWND launcher = program.WaitForWindow(kFormClass, kLauncherCaption, true);
    ASSERT_NE(launcher, nullptr);
    HWND settings = program.OpenSettings(launcher);
    ASSERT_NE(settings, nullptr);
    HWND use_vpn = FindDescendant(settings, L"Button", L"زمان اتصال VPN استفاده از ");
    ASSERT_NE(use_vpn, nullptr);
    ASSERT_TRUE(Click(use_vpn));
    ASSERT_TRUE(program.CloseSettings(settings));

    ASSERT_TRUE(Click(FindDescendant(launcher, L"Button", L"Start")));
    ASSERT_EQ(sandbox.WaitForCalls(2).size(), 2u);
    ASSERT_TRUE(Click(FindDescendant(launcher, L"Button", L"CONNECT WiFi")));
    ASSERT_EQ(sandbox.WaitForCalls(3).size(), 3u);
    ASSERT_TRUE(Click(FindDescendant(launcher, L"Button", L"DISCONNECT WiFi")));
    ASSERT_EQ(sandbox.WaitForCalls(4).size(), 4u);
    HWND vpn = FindDescendant(launcher, L"Button", L"VPN");
    ASSERT_TRUE(Click(vpn));
    ASSERT_TRUE(Click(vpn));  // cleared: the hang-up

    std::vector<LoggedCall> calls = sandbox.WaitForCalls(5);
    std::vector<std::wstring> programs;
    for (const LoggedCall& call : calls) programs.push_back(call.program);
    EXPECT_EQ(programs, (std::vector<std::wstring>{L"rasdial", L"rdp_handler", L"netsh", L"netsh", L"rasdial"}))
        << Describe(calls);
    EXPECT_EQ(sandbox.StrayCalls(current), "") << "a look-alike in the current folder ran";

    PostMessageW(launcher, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
}
}  // namespace
