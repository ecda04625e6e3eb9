// What reaches rasdial, netsh, setup_a.ini and a box is what the user typed: the real program with the stand-ins,
// which write down their command line both as a wide and as an 8-bit program receives it. A value that a tool
// would receive otherwise (a look-alike of "/" or '"' in its 8-bit form), or that the settings file could not give
// back (a lone CR or LF), is refused with a box naming its field, and nothing runs or is written; a value quoted in
// a box shows its bidirectional controls rather than obeying them.
#include "harness.h"
#include "platform/text.h"
#include "tests/support/file_bytes.h"
#include "tests/support/refusal_texts.h"
#include "tests/support/wine_rig.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {
namespace fs = std::filesystem;

std::string Utf8(const std::wstring& text) { return WideToUtf8(text); }

const wchar_t kWifiLabel[] = L"نام شبکه WIFI";
const wchar_t kServerLabel[] = L"Server IP:";
const wchar_t kEntryLabel[] = L"نام اتصال VPN";
const wchar_t kUserLabel[] = L"VPN User:";
const wchar_t kPasswordLabel[] = L"VPN password:";

// The settings every row starts from, saved, before it types its own value into one field.
const std::pair<const wchar_t*, const wchar_t*> kPlainSettings[] = {{kWifiLabel, L"Office"},
                                                                    {kServerLabel, L"10.0.0.5"},
                                                                    {kEntryLabel, L"Work"},
                                                                    {kUserLabel, L"ali"},
                                                                    {kPasswordLabel, L"secret"}};

// What the row presses once its value is typed: "Save" in the dialog, or a launcher button with the dialog closed.
enum class Press { Save, Start, ConnectWifi };

// What rasdial and netsh were given, in the order they started (the .rdp handler left out).
std::vector<std::wstring> ToolTexts(const std::vector<LoggedCall>& calls) {
    std::vector<std::wstring> texts;
    for (const LoggedCall& call : calls)
        if (call.program == L"rasdial" || call.program == L"netsh") texts.push_back(call.text);
    return texts;
}

class TypedValues : public testing::Test {
protected:
    void SetUp() override { KAVLO_REQUIRE_SYSTEM_STAND_INS(); }

    void TearDown() override {
        if (!program_) return;
        for (HWND box : program_->MessageBoxes()) PostMessageW(box, WM_COMMAND, IDOK, 0);
        PostMessageW(launcher_, WM_CLOSE, 0, 0);
        EXPECT_EQ(program_->WaitForExit(), std::optional<DWORD>(0));
    }

    // Starts the program (rasdial ending with `dial_exit_code`) and saves the plain settings with "VPN" ticked.
    void StartWithPlainSettings(DWORD dial_exit_code = 0) {
        SetEnvironmentVariableW(L"KAVLO_FAKE_RASDIAL_EXIT", std::to_wstring(dial_exit_code).c_str());
        program_.emplace(sandbox_);  // the program, and the stand-ins it starts, inherit the variable
        SetEnvironmentVariableW(L"KAVLO_FAKE_RASDIAL_EXIT", nullptr);
        launcher_ = program_->WaitForWindow(kFormClass, kLauncherCaption, true);
        ASSERT_NE(launcher_, nullptr) << "the launcher did not show";
        HWND settings = program_->OpenSettings(launcher_);
        ASSERT_NE(settings, nullptr) << "the settings did not open";
        for (const auto& [label, text] : kPlainSettings) ASSERT_TRUE(SetText(FindEditBeside(settings, label), text));
        HWND use_vpn = FindDescendant(settings, L"Button", L"زمان اتصال VPN استفاده از ");
        ASSERT_TRUE(Click(use_vpn));
        ASSERT_TRUE(program_->SaveSettings(settings)) << "the plain settings were refused";
        saved_ = ReadBytes(SettingsFile());
        ASSERT_FALSE(saved_.empty());
    }

    // Types `value` into the field beside `label`, checks that the field holds it as typed, and presses.
    void TypeAndPress(const wchar_t* label, const std::wstring& value, Press press) {
        HWND settings = program_->OpenSettings(launcher_);
        ASSERT_NE(settings, nullptr) << "the settings did not open";
        HWND field = FindEditBeside(settings, label);
        ASSERT_TRUE(SetText(field, value));
        ASSERT_EQ(TextOf(field), value) << "the field does not hold the value as typed";
        if (press == Press::Save) {
            ASSERT_TRUE(::Press(FindDescendant(settings, L"Button", L"Save")));
            return;
        }
        ASSERT_TRUE(program_->CloseSettings(settings));
        ASSERT_TRUE(::Press(FindDescendant(launcher_, L"Button", press == Press::Start ? L"Start" : L"CONNECT WiFi")));
    }

    fs::path SettingsFile() const { return sandbox_.Folder() / L"setup_a.ini"; }

    Sandbox sandbox_;
    RdpAssociation association_{sandbox_.Folder() / L"rdp_handler.exe"};
    std::optional<ProgramProcess> program_;
    HWND launcher_ = nullptr;
    std::string saved_;  // setup_a.ini as the plain settings left it
};

struct Row {
    const char* name;
    const wchar_t* label;
    std::wstring value;
    Press press;
    std::wstring box;  // the failure box's text
};
void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

std::wstring Boxed(const std::wstring& sentence) { return sentence + L"."; }
std::wstring LineBreakIn(const wchar_t* field) { return Boxed(LineBreakRefusal(field)); }

const std::wstring kServerLineBreak =
    L"The address in \"Server IP\" holds a line break, which would add settings of its own to Kavlo.rdp. Type the "
    L"address on one line.";

const Row kRefusedRows[] = {
    // Look-alikes of "/" and '"' (code page 1252 maps each), where the tool would receive them and on "Save".
    {"FullwidthSlashInTheEntry", kEntryLabel, L"\uFF0FPHONE:evil.example", Press::Start, Boxed(kEntryLookAlike)},
    {"FullwidthQuoteInTheUser", kUserLabel, L"ali\uFF02 /PHONE:evil.example", Press::Start, Boxed(kUserLookAlike)},
    {"FullwidthQuoteInThePassword", kPasswordLabel, L"p\uFF02 /PHONE:evil.example", Press::Start,
     Boxed(kPasswordLookAlike)},
    {"EnSpaceBeforeADivisionSlashInThePassword", kPasswordLabel, L"\u2002\u2215PHONE:evil.example", Press::Start,
     Boxed(kPasswordLookAlike)},
    {"FullwidthQuoteInTheNetwork", kWifiLabel, L"Office\uFF02 name=evil", Press::ConnectWifi, Boxed(kWifiLookAlike)},
    {"IdeographicSpaceInTheNetwork", kWifiLabel, L"Office\u3000Guest", Press::ConnectWifi, Boxed(kWifiLookAlike)},
    {"FractionSlashInTheEntryOnSave", kEntryLabel, L"\u2044PHONE:evil.example", Press::Save, Boxed(kEntryLookAlike)},
    {"FullwidthQuoteInThePasswordOnSave", kPasswordLabel, L"p\uFF02 /PHONE:evil.example", Press::Save,
     Boxed(kPasswordLookAlike)},
    {"FullwidthQuoteInTheNetworkOnSave", kWifiLabel, L"Office\uFF02", Press::Save, Boxed(kWifiLookAlike)},
    {"BlankBeforeASlashInTheUserOnSave", kUserLabel, L" /PHONE:evil.example", Press::Save, Boxed(kUserSlash)},
    // A lone CR or LF in each field, which would come back from setup_a.ini as something else.
    {"CrInTheNetwork", kWifiLabel, L"Office\r", Press::Save, LineBreakIn(kWifiField)},
    {"LfInTheNetwork", kWifiLabel, L"Office\n", Press::Save, LineBreakIn(kWifiField)},
    {"CrInTheServer", kServerLabel, L"10.0.0.5\r", Press::Save, kServerLineBreak},
    {"LfInTheServer", kServerLabel, L"10.0.0.5\n", Press::Save, kServerLineBreak},
    {"CrInTheEntry", kEntryLabel, L"Work\r", Press::Save, LineBreakIn(kEntryField)},
    {"LfInTheEntry", kEntryLabel, L"\nWork", Press::Save, LineBreakIn(kEntryField)},
    {"CrInTheUser", kUserLabel, L"a\rli", Press::Save, LineBreakIn(kUserField)},
    {"LfInTheUser", kUserLabel, L"a\nli", Press::Save, LineBreakIn(kUserField)},
    {"CrInThePassword", kPasswordLabel, L"\r[Edit5: TcxPropertiesStoreComponent]\rText=\"evil.example\"", Press::Save,
     LineBreakIn(kPasswordField)},
    {"LfInThePassword", kPasswordLabel, L"secret\n", Press::Save, LineBreakIn(kPasswordField)},
};

class RefusedValue : public TypedValues, public testing::WithParamInterface<Row> {};

TEST_P(RefusedValue, IsNamedInABoxAndNothingRunsOrIsWritten) {
    const Row& row = GetParam();
    ASSERT_NO_FATAL_FAILURE(StartWithPlainSettings());
    ASSERT_NO_FATAL_FAILURE(TypeAndPress(row.label, row.value, row.press));

    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no failure box";
    EXPECT_EQ(MessageBoxText(box), row.box) << Utf8(MessageBoxText(box));
    EXPECT_TRUE(sandbox_.Calls().empty()) << "a tool ran: " << Utf8(sandbox_.EightBitCalls().at(0).text);
    EXPECT_EQ(ReadBytes(SettingsFile()), saved_) << "setup_a.ini changed";
}

INSTANTIATE_TEST_SUITE_P(Table, RefusedValue, testing::ValuesIn(kRefusedRows),
                         [](const testing::TestParamInfo<Row>& info) { return std::string(info.param.name); });

// "Work\u202Eexe.txt" would show as "Worktxt.exe" with the control obeyed.
TEST_F(TypedValues, ABidirectionalControlInAFailingDialsEntryIsShownAsAnEscape) {
    ASSERT_NO_FATAL_FAILURE(StartWithPlainSettings(691));
    ASSERT_NO_FATAL_FAILURE(TypeAndPress(kEntryLabel, L"Work\u202Eexe.txt", Press::Start));

    HWND box = program_->WaitForMessageBox();
    ASSERT_NE(box, nullptr) << "no failure box";
    EXPECT_EQ(MessageBoxText(box),
              L"The VPN connection \"Work<U+202E>exe.txt\" could not be dialled: error 691. Check the VPN user name "
              L"and password in FILE \u203A \"\u062A\u0646\u0638\u06CC\u0645\u0627\u062A \u0633\u0631\u0648\u0631\", "
              L"then try again.")
        << Utf8(MessageBoxText(box));
    const std::vector<LoggedCall> calls = sandbox_.Calls();
    ASSERT_EQ(calls.size(), 1u);
    EXPECT_EQ(calls[0].text, L"Work\u202Eexe.txt ali secret") << "rasdial is given the entry as typed";
}

// On the Arabic code page Persian is spelt exactly: the values run, and reach an 8-bit tool as typed. (Not every
// Persian letter: the code page has no Farsi yeh, U+06CC, whose best fit is the Arabic yeh; the values here have none.)
// A division slash, which this code page has no best fit for, arrives as "?": no switch, so it runs too.
class CodePage1256TypedValues : public TypedValues {};

TEST_F(CodePage1256TypedValues, PersianValuesRunUnchanged) {
    KAVLO_REQUIRE_CODE_PAGE(1256);
    ASSERT_NO_FATAL_FAILURE(StartWithPlainSettings());
    const std::pair<const wchar_t*, const wchar_t*> persian[] = {{kEntryLabel, L"\u06A9\u0627\u0631"},
                                                                 {kUserLabel, L"\u0631\u0636\u0627"},
                                                                 {kPasswordLabel, L"\u0631\u0645\u0632"}};
    HWND settings = program_->OpenSettings(launcher_);
    ASSERT_NE(settings, nullptr);
    for (const auto& [label, text] : persian) ASSERT_TRUE(SetText(FindEditBeside(settings, label), text));
    ASSERT_TRUE(SetText(FindEditBeside(settings, kWifiLabel), L"\u062F\u0641\u062A\u0631"));
    ASSERT_TRUE(program_->SaveSettings(settings)) << "Persian values were refused";

    // "Start" dials and, a second later, opens Kavlo.rdp; then the Wi-Fi is joined.
    ASSERT_TRUE(Click(FindDescendant(launcher_, L"Button", L"Start")));
    ASSERT_EQ(sandbox_.WaitForCalls(2).size(), 2u);
    ASSERT_TRUE(Click(FindDescendant(launcher_, L"Button", L"CONNECT WiFi")));
    ASSERT_EQ(sandbox_.WaitForCalls(3).size(), 3u);
    const std::vector<std::wstring> expected = {
        L"\u06A9\u0627\u0631 \u0631\u0636\u0627 \u0631\u0645\u0632",
        L"wlan connect ssid=\u062F\u0641\u062A\u0631 name=\u062F\u0641\u062A\u0631"};
    EXPECT_EQ(ToolTexts(sandbox_.Calls()), expected);
    EXPECT_EQ(ToolTexts(sandbox_.EightBitCalls()), expected) << "an 8-bit tool receives the Persian as typed";
    EXPECT_TRUE(program_->MessageBoxes().empty());

    HWND again = program_->OpenSettings(launcher_);
    ASSERT_NE(again, nullptr);
    ASSERT_TRUE(SetText(FindEditBeside(again, kEntryLabel), L"\u2215PHONE:evil.example"));
    ASSERT_TRUE(program_->CloseSettings(again));
    ASSERT_TRUE(Click(FindDescendant(launcher_, L"Button", L"Start")));
    ASSERT_EQ(sandbox_.WaitForCalls(5).size(), 5u);
    const std::vector<std::wstring> eight_bit = ToolTexts(sandbox_.EightBitCalls());
    ASSERT_EQ(eight_bit.size(), 3u);
    EXPECT_EQ(eight_bit[2], L"?PHONE:evil.example \u0631\u0636\u0627 \u0631\u0645\u0632") << Utf8(eight_bit[2]);
}
}  // namespace
