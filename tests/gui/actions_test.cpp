// The launcher's commands, with a recorder in place of the shell: what each click hands over, and in what order.
#include "launcher_fixture.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "tests/support/command_line_support.h"
#include "tests/support/latin1.h"

#include <optional>
#include <ostream>
#include <shellapi.h>
#include <string>
#include <vector>

namespace {
struct ShellCall {
    enum class Entry { Wide, Tool, ToolAnsi } entry = Entry::Wide;
    HWND owner = nullptr;
    std::wstring verb;
    std::wstring file;
    std::wstring parameters;
    std::optional<std::wstring> directory;  // nothing: a null pointer
    int show = -1;

    // Entry, file and parameters: what the tables compare.
    std::wstring Summary() const {
        const wchar_t* kind = entry == Entry::Wide ? L"W " : entry == Entry::Tool ? L"tool " : L"tool A ";
        return kind + file + L": " + parameters;
    }
};

// An 8-bit argument byte for character; none as empty.
std::wstring Bytes(const char* text) { return text ? Latin1(text) : std::wstring(); }

class RecordingShell final : public Shell {
public:
    DWORD ExecuteW(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                   const wchar_t* directory, int show) override {
        calls.push_back({ShellCall::Entry::Wide, owner, verb ? verb : L"", file ? file : L"",
                         parameters ? parameters : L"",
                         directory ? std::optional<std::wstring>(directory) : std::nullopt, show});
        return open_result;
    }
    StartedTool StartTool(const wchar_t* program, const wchar_t* parameters, bool) override {
        ShellCall call;
        call.entry = ShellCall::Entry::Tool;
        call.file = program;
        call.parameters = parameters;
        calls.push_back(call);
        return {};
    }
    StartedTool StartToolA(const char* program, const char* parameters) override {
        ShellCall call;
        call.entry = ShellCall::Entry::ToolAnsi;
        call.file = Bytes(program);
        call.parameters = Bytes(parameters);
        calls.push_back(call);
        return {};
    }

    std::vector<std::wstring> Summaries() const {
        std::vector<std::wstring> summaries;
        for (const ShellCall& call : calls) summaries.push_back(call.Summary());
        return summaries;
    }

    std::vector<ShellCall> calls;
    DWORD open_result = ERROR_SUCCESS;  // what ExecuteW answers
};

// The tools named by full path in the system folder, as the shell must be given them; the 8-bit entry's path
// as its bytes in the ANSI code page.
std::wstring SystemTool(const wchar_t* name) {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return std::wstring(folder) + L"\\" + name;
}

std::wstring SystemToolBytes(const char* name) {
    char folder[MAX_PATH] = {};
    GetSystemDirectoryA(folder, MAX_PATH);
    return Bytes((std::string(folder) + "\\" + name).c_str());
}

const std::wstring kRasdial = SystemTool(L"rasdial.exe");
const std::wstring kNetsh = SystemTool(L"netsh.exe");

// Kavlo.rdp in the test's current folder, where "Start" opens it by its full path.
std::wstring ConnectionFilePath() {
    wchar_t folder[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, folder);
    return std::wstring(folder) + L"\\Kavlo.rdp";
}

class LauncherActions : public LauncherTest {
protected:
    void SetUp() override {
        SetShellForTests(&shell);
        LauncherTest::SetUp();
        FilesPut(ConnectionFilePath(), FilesBytes("full address:s:127.0.0.1:3389\r\n"));
    }
    void TearDown() override {
        LauncherTest::TearDown();
        SetShellForTests(nullptr);
    }

    void Click(const Control& control) const { SendMessageW(control.Handle(), BM_CLICK, 0, 0); }

    void FillDial(bool use_vpn, const std::wstring& entry, const std::wstring& user, const std::wstring& password) {
        Dialog().Find<CheckBox>(L"CheckBox2").SetChecked(use_vpn);
        Dialog().Find<Edit>(L"Edit2").SetText(entry);
        Dialog().Find<Edit>(L"Edit3").SetText(user);
        Dialog().Find<Edit>(L"Edit4").SetText(password);
    }

    // Pumps the launcher's messages until the shell has been handed `count` commands, or for `limit_ms`.
    void PumpUntilCalls(std::size_t count, int limit_ms = 3000) const {
        for (int waited = 0; shell.calls.size() < count && waited < limit_ms; waited += 50) PumpMessages(50);
    }

    // Whether the launcher shows the working-in-background pointer over its client area now.
    bool ShowsBackgroundPointer() const {
        const LRESULT set = SendMessageW(launcher->Handle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(launcher->Handle()),
                                         MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        return set && GetCursor() == LoadCursorW(nullptr, IDC_APPSTARTING);
    }

    RecordingShell shell;
};

// The open of Kavlo.rdp in this test's current folder.
std::wstring Opened() { return L"W " + ConnectionFilePath() + L": "; }

struct StartCase {
    const char* name;
    bool use_vpn;
    const wchar_t* entry;
    const wchar_t* user;
    const wchar_t* password;
    const wchar_t* dial;                  // the dial's parameters; nullptr: no dial
    std::vector<std::wstring> arguments;  // as rasdial reads them back
};

const StartCase kStartCases[] = {
    {"FlagClear", false, L"Work", L"ali", L"secret", nullptr, {}},
    {"SimpleValues", true, L"Work", L"ali", L"secret", L"Work ali secret", {L"Work", L"ali", L"secret"}},
    {"UserAndPasswordEmptyGiveTheEntryAlone", true, L"Work", L"", L"", L"Work", {L"Work"}},
    {"AllEmpty", true, L"", L"", L"", LR"("")", {L""}},
    {"EmptyUser", true, L"Work", L"", L"secret", LR"(Work "" secret)", {L"Work", L"", L"secret"}},
    {"EmptyPassword", true, L"Work", L"ali", L"", LR"(Work ali "")", {L"Work", L"ali", L""}},
    {"SpacesTabQuotesAndTrailingBackslashes",
     true,
     L"VPN Connection",
     L"dom\\ali\t\"x\"",
     L"p\\ss \\\\",
     LR"("VPN Connection" "dom\ali)"
     L"\t"
     LR"(\"x\"" "p\ss \\\\")",
     {L"VPN Connection", L"dom\\ali\t\"x\"", L"p\\ss \\\\"}},
    {"SlashInsideAValue", true, L"Work/2", L"ali", L"pa/ss", L"Work/2 ali pa/ss", {L"Work/2", L"ali", L"pa/ss"}},
};

void PrintTo(const StartCase& c, std::ostream* out) { *out << c.name; }

class StartTest : public LauncherActions, public testing::WithParamInterface<StartCase> {};

// With the dial, the connection file is opened only later: the recorder starts no process, so a second after it.
TEST_P(StartTest, DialsThenOpensTheConnectionFileByItsFullPath) {
    const StartCase& c = GetParam();
    FillDial(c.use_vpn, c.entry, c.user, c.password);
    launcher->Find<CheckBox>(L"CheckBox2").SetChecked(!c.use_vpn);  // the launcher's own box plays no part
    shell.calls.clear();

    Click(launcher->Find<Button>(L"Button1"));

    std::vector<std::wstring> expected;
    if (c.dial) {
        expected = {L"tool " + kRasdial + L": " + c.dial};
        ASSERT_EQ(shell.Summaries(), expected) << "nothing opened while the dial runs";
        EXPECT_EQ(ArgumentsOf(shell.calls[0].parameters), c.arguments);
        PumpUntilCalls(2);
    }
    expected.push_back(Opened());
    EXPECT_EQ(shell.Summaries(), expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, StartTest, testing::ValuesIn(kStartCases),
                         [](const testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

// A value that begins with "/" would reach rasdial as a switch: the box names its field, and nothing starts.
TEST_F(LauncherActions, StartRefusesAValueThatBeginsWithASlash) {
    struct Case {
        const wchar_t* entry;
        const wchar_t* user;
        const wchar_t* password;
        const wchar_t* field;
    };
    const Case cases[] = {{L"/PHONE:10.9.9.9", L"ali", L"secret", L"\"نام اتصال VPN\""},
                          {L"Work", L"/PHONE:10.9.9.9", L"secret", L"\"VPN User\""},
                          {L"Work", L"ali", L"/secret", L"\"VPN password\""}};
    for (const Case& c : cases) {
        FillDial(true, c.entry, c.user, c.password);
        BoxWatcher boxes;
        Click(launcher->Find<Button>(L"Button1"));
        PumpUntilCalls(1, 1200);
        EXPECT_TRUE(shell.calls.empty()) << WideToUtf8(c.field);
        const std::vector<SeenBox> seen = boxes.Seen();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_NE(seen[0].text.find(c.field), std::wstring::npos) << WideToUtf8(seen[0].text);
        EXPECT_NE(seen[0].text.find(L"begins with \"/\""), std::wstring::npos) << WideToUtf8(seen[0].text);
    }
}

TEST_F(LauncherActions, AStartInProgressShowsBackgroundWorkAndIgnoresAnotherStart) {
    FillDial(true, L"Work", L"ali", L"secret");
    EXPECT_FALSE(ShowsBackgroundPointer());

    Click(launcher->Find<Button>(L"Button1"));
    Click(launcher->Find<Button>(L"Button1"));
    EXPECT_TRUE(ShowsBackgroundPointer());
    PumpUntilCalls(3, 1500);

    EXPECT_EQ(shell.Summaries(), (std::vector<std::wstring>{L"tool " + kRasdial + L": Work ali secret", Opened()}));
    EXPECT_FALSE(ShowsBackgroundPointer());
}

TEST_F(LauncherActions, ClearingVpnHangsUpWithAnEightBitCommandLineAndTickingRunsNothing) {
    ASSERT_FALSE(launcher->Find<CheckBox>(L"CheckBox2").Checked());

    Click(launcher->Find<CheckBox>(L"CheckBox2"));
    ASSERT_TRUE(launcher->Find<CheckBox>(L"CheckBox2").Checked());
    EXPECT_TRUE(shell.calls.empty());

    Click(launcher->Find<CheckBox>(L"CheckBox2"));
    EXPECT_EQ(shell.Summaries(),
              std::vector<std::wstring>{L"tool A " + SystemToolBytes("rasdial.exe") + L": Kavlo  /DISCONNECT"});
}

// Before any dial the hang-up names the entry typed in the settings; after one, the entry that was dialled. Cleared
// while "Start" waits for its dial, nothing is opened.
TEST_F(LauncherActions, TheHangUpNamesTheEntryTypedThenTheOneDialled) {
    CheckBox& vpn = launcher->Find<CheckBox>(L"CheckBox2");
    FillDial(true, L"Office VPN", L"ali", L"secret");
    vpn.SetChecked(true);
    Click(vpn);
    ASSERT_EQ(shell.Summaries(), std::vector<std::wstring>{L"tool A " + SystemToolBytes("rasdial.exe") +
                                                           LR"(: "Office VPN"  /DISCONNECT)"});

    shell.calls.clear();
    FillDial(true, L"Work", L"ali", L"secret");
    Click(launcher->Find<Button>(L"Button1"));
    Dialog().Find<Edit>(L"Edit2").SetText(L"Typed later");
    vpn.SetChecked(true);
    Click(vpn);
    PumpUntilCalls(3, 1500);
    EXPECT_EQ(shell.Summaries(), (std::vector<std::wstring>{
                                     L"tool " + kRasdial + L": Work ali secret",
                                     L"tool A " + SystemToolBytes("rasdial.exe") + L": Work  /DISCONNECT",
                                 }));
    EXPECT_FALSE(ShowsBackgroundPointer());
}

TEST_F(LauncherActions, TheConnectionFileIsOpenedHiddenByTheApplicationWindow) {
    FillDial(false, L"Work", L"ali", L"secret");
    Click(launcher->Find<Button>(L"Button1"));

    ASSERT_EQ(shell.calls.size(), 1u);
    const ShellCall& open = shell.calls[0];
    EXPECT_EQ(open.owner, App().Handle());
    EXPECT_EQ(open.verb, L"open");
    EXPECT_EQ(open.file, ConnectionFilePath());
    EXPECT_EQ(open.directory, std::optional<std::wstring>(L"")) << "an empty string, not a null pointer";
    EXPECT_EQ(open.show, SW_HIDE);
}

// The user cancelling a prompt of the shell's (a downloaded Kavlo.rdp's warning) is their choice; a refusal is not.
TEST_F(LauncherActions, AnOpenTheUserCancelledShowsNoBox) {
    FillDial(false, L"", L"", L"");
    for (const DWORD result : {DWORD{ERROR_CANCELLED}, DWORD{ERROR_ACCESS_DENIED}}) {
        SCOPED_TRACE(result);
        shell.open_result = result;
        BoxWatcher boxes;
        Click(launcher->Find<Button>(L"Button1"));
        PumpMessages(100);
        const std::vector<SeenBox> seen = boxes.Seen();
        if (result == ERROR_CANCELLED) {
            EXPECT_TRUE(seen.empty());
        } else {
            ASSERT_EQ(seen.size(), 1u);
            EXPECT_NE(seen[0].text.find(L"Kavlo.rdp"), std::wstring::npos) << seen[0].text;
        }
    }
}

TEST_F(LauncherActions, StartUsesWhatWasTypedInTheDialogBeforeItWasClosedFromTheTitleBar) {
    WithDialogShown([this] {
        Dialog().Find<CheckBox>(L"CheckBox2").SetChecked(true);
        Dialog().Find<Edit>(L"Edit2").SetText(L"Typed");
        Dialog().Find<Edit>(L"Edit3").SetText(L"user");
        Dialog().Find<Edit>(L"Edit4").SetText(L"pass");
        SendMessageW(Dialog().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    ASSERT_FALSE(Dialog().Visible());

    Click(launcher->Find<Button>(L"Button1"));
    PumpUntilCalls(2);

    EXPECT_EQ(shell.Summaries(), (std::vector<std::wstring>{L"tool " + kRasdial + L": Typed user pass", Opened()}));
}

TEST_F(LauncherActions, StartAndConnectWifiDoNothingOnceTheDialogIsGone) {
    FillDial(true, L"Work", L"ali", L"secret");
    CloseAction action = CloseAction::Hide;
    launcher->Closing(action);
    ASSERT_EQ(launcher->Settings(), nullptr);

    Click(launcher->Find<Button>(L"Button1"));
    Click(launcher->Find<Button>(L"Button3"));

    EXPECT_TRUE(shell.calls.empty());
}

// Closed while "Start" waits for its dial: nothing is opened after.
TEST_F(LauncherActions, ClosingWhileStartWaitsOpensNothing) {
    FillDial(true, L"Work", L"ali", L"secret");
    Click(launcher->Find<Button>(L"Button1"));
    CloseAction action = CloseAction::Hide;
    launcher->Closing(action);
    PumpMessages(1300);

    EXPECT_EQ(shell.Summaries(), std::vector<std::wstring>{L"tool " + kRasdial + L": Work ali secret"});
}

struct WifiCase {
    const char* name;
    const wchar_t* network;
    const wchar_t* parameters;
};

const WifiCase kWifiCases[] = {
    {"Plain", L"Office", L"wlan connect ssid=Office name=Office"},
    {"Persian", L"شبکه‌دفتر", L"wlan connect ssid=شبکه‌دفتر name=شبکه‌دفتر"},
    {"WithSpace", L"Office Net", LR"(wlan connect ssid="Office Net" name="Office Net")"},
    {"Empty", L"", LR"(wlan connect ssid="" name="")"},
};

void PrintTo(const WifiCase& c, std::ostream* out) { *out << c.name; }

class ConnectWifiTest : public LauncherActions, public testing::WithParamInterface<WifiCase> {};

TEST_P(ConnectWifiTest, JoinsTheNetworkNamedInTheDialog) {
    Dialog().Find<Edit>(L"Edit1").SetText(GetParam().network);

    Click(launcher->Find<Button>(L"Button3"));

    EXPECT_EQ(shell.Summaries(), std::vector<std::wstring>{L"tool " + kNetsh + L": " + GetParam().parameters});
}

INSTANTIATE_TEST_SUITE_P(Cases, ConnectWifiTest, testing::ValuesIn(kWifiCases),
                         [](const testing::TestParamInfo<WifiCase>& info) { return std::string(info.param.name); });

TEST_F(LauncherActions, DisconnectWifiLeavesTheNetwork) {
    Click(launcher->Find<Button>(L"Button4"));

    EXPECT_EQ(shell.Summaries(), std::vector<std::wstring>{L"tool " + kNetsh + L": wlan disconnect"});
}

}  // namespace
