// The launcher's commands, with a recorder in place of the shell: what each click hands over, and in what order.
#include "launcher_fixture.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "tests/unit/command_line_support.h"

#include <optional>
#include <ostream>
#include <shellapi.h>
#include <string>
#include <vector>

namespace {
struct ShellCall {
    enum class Entry { Wide, Tool, ToolAnsi, Pause } entry = Entry::Pause;
    HWND owner = nullptr;
    std::wstring verb;
    std::wstring file;
    std::wstring parameters;
    std::optional<std::wstring> directory;  // nothing: a null pointer
    int show = -1;
    DWORD milliseconds = 0;

    // Entry, file and parameters, or the pause: what the tables compare.
    std::wstring Summary() const {
        if (entry == Entry::Pause) return L"pause " + std::to_wstring(milliseconds);
        const wchar_t* kind = entry == Entry::Wide ? L"W " : entry == Entry::Tool ? L"tool " : L"tool A ";
        return kind + file + L": " + parameters;
    }
};

std::wstring Bytes(const char* text) {
    std::wstring wide;
    if (text)
        for (const char* p = text; *p; ++p) wide += static_cast<wchar_t>(static_cast<unsigned char>(*p));
    return wide;
}

class RecordingShell final : public Shell {
public:
    DWORD ExecuteW(HWND owner, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                   const wchar_t* directory, int show) override {
        calls.push_back({ShellCall::Entry::Wide, owner, verb ? verb : L"", file ? file : L"",
                         parameters ? parameters : L"",
                         directory ? std::optional<std::wstring>(directory) : std::nullopt, show});
        return ERROR_SUCCESS;
    }
    StartedTool StartTool(const wchar_t* program, const wchar_t* parameters, bool) override {
        ShellCall call;
        call.entry = ShellCall::Entry::Tool;
        call.file = program;
        call.parameters = parameters;
        calls.push_back(call);
        return {};
    }
    void StartToolA(const char* program, const char* parameters) override {
        ShellCall call;
        call.entry = ShellCall::Entry::ToolAnsi;
        call.file = Bytes(program);
        call.parameters = Bytes(parameters);
        calls.push_back(call);
    }
    void Pause(DWORD milliseconds) override {
        ShellCall pause;
        pause.milliseconds = milliseconds;
        calls.push_back(pause);
    }

    std::vector<std::wstring> Summaries() const {
        std::vector<std::wstring> summaries;
        for (const ShellCall& call : calls) summaries.push_back(call.Summary());
        return summaries;
    }

    std::vector<ShellCall> calls;
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

class LauncherActions : public LauncherTest {
protected:
    void SetUp() override {
        SetShellForTests(&shell);
        LauncherTest::SetUp();
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

    RecordingShell shell;
};

struct StartCase {
    const char* name;
    bool use_vpn;
    const wchar_t* entry;
    const wchar_t* user;
    const wchar_t* password;
    const wchar_t* dial;  // the dial's parameters; nullptr: no dial
};

const StartCase kStartCases[] = {
    {"FlagClear", false, L"Work", L"ali", L"secret", nullptr},
    {"SimpleValues", true, L"Work", L"ali", L"secret", L"Work ali secret"},
    {"EmptyFields", true, L"", L"", L"", LR"("" "" "")"},
    {"EmptyUser", true, L"Work", L"", L"secret", LR"(Work "" secret)"},
    {"SpacesTabQuotesAndTrailingBackslashes", true, L"VPN Connection", L"dom\\ali\t\"x\"", L"p\\ss \\\\",
     LR"("VPN Connection" "dom\ali)"
     L"\t"
     LR"(\"x\"" "p\ss \\\\")"},
};

void PrintTo(const StartCase& c, std::ostream* out) { *out << c.name; }

class StartTest : public LauncherActions, public testing::WithParamInterface<StartCase> {};

TEST_P(StartTest, DialsPausesAndOpensTheConnectionFile) {
    const StartCase& c = GetParam();
    FillDial(c.use_vpn, c.entry, c.user, c.password);
    launcher->Find<CheckBox>(L"CheckBox2").SetChecked(!c.use_vpn);  // the launcher's own box plays no part
    shell.calls.clear();

    Click(launcher->Find<Button>(L"Button1"));

    std::vector<std::wstring> expected;
    if (c.dial) expected = {L"tool " + kRasdial + L": " + c.dial, L"pause 1000"};
    expected.push_back(L"W Kavlo.rdp: ");
    ASSERT_EQ(shell.Summaries(), expected);
    if (c.dial) {
        EXPECT_EQ(ArgumentsOf(shell.calls[0].parameters), (std::vector<std::wstring>{c.entry, c.user, c.password}));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, StartTest, testing::ValuesIn(kStartCases),
                         [](const testing::TestParamInfo<StartCase>& info) { return std::string(info.param.name); });

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

TEST_F(LauncherActions, ClearingVpnHangsUpWithAnEightBitCommandLineAndTickingRunsNothing) {
    ASSERT_FALSE(launcher->Find<CheckBox>(L"CheckBox2").Checked());

    Click(launcher->Find<CheckBox>(L"CheckBox2"));
    ASSERT_TRUE(launcher->Find<CheckBox>(L"CheckBox2").Checked());
    EXPECT_TRUE(shell.calls.empty());

    Click(launcher->Find<CheckBox>(L"CheckBox2"));
    EXPECT_EQ(shell.Summaries(),
              std::vector<std::wstring>{L"tool A " + SystemToolBytes("rasdial.exe") + L": Kavlo  /DISCONNECT"});
}

TEST_F(LauncherActions, TheConnectionFileIsOpenedHiddenInTheCurrentDirectoryByTheApplicationWindow) {
    FillDial(true, L"Work", L"ali", L"secret");
    Click(launcher->Find<Button>(L"Button1"));

    ASSERT_EQ(shell.calls.size(), 3u);  // dial, pause, open
    const ShellCall& open = shell.calls[2];
    EXPECT_EQ(open.owner, App().Handle());
    EXPECT_EQ(open.verb, L"open");
    EXPECT_EQ(open.directory, std::optional<std::wstring>(L"")) << "an empty string, not a null pointer";
    EXPECT_EQ(open.show, SW_HIDE);
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

    EXPECT_EQ(shell.Summaries(),
              (std::vector<std::wstring>{L"tool " + kRasdial + L": Typed user pass", L"pause 1000", L"W Kavlo.rdp: "}));
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
}  // namespace
