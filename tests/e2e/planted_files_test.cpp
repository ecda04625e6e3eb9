// What someone else may leave beside the program or write into its settings file: DLLs of the names it uses, a
// hand-edited server address that would add settings to Kavlo.rdp, and a settings file it cannot restore.
#include "harness.h"
#include "platform/text.h"
#include "tests/support/executable_imports.h"
#include "tests/support/file_bytes.h"
#include "tests/support/wine_rig.h"

#include <gtest/gtest.h>

namespace fs = std::filesystem;

namespace {
fs::path BuildOutputFolder() {
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    return fs::path(own).parent_path();
}

std::string Utf8(const std::wstring& text) { return WideToUtf8(text); }

// A settings file as the program writes it, with the use-VPN box's value and the server address as given.
std::string SettingsFile(std::string_view checked, std::string_view server) {
    std::string text =
        "\xEF\xBB\xBF[Main]\r\nVersion=2\r\n\r\n[CheckBox2: TcxPropertiesStoreComponent]\r\n=\r\nChecked=";
    text += checked;
    text += "\r\n\r\n[Edit5: TcxPropertiesStoreComponent]\r\n=\r\nText=";
    text += server;
    return text + "\r\n\r\n";
}
}  // namespace

TEST(ProgramImports, OnlyDllsWindowsNeverLooksForBesideTheProgram) {
    const std::string image = ReadBytes(BuildOutputFolder() / L"Kavlo_Connect.exe");
    const std::vector<std::string> dlls = ImportedDllNames({image.begin(), image.end()});
    ASSERT_FALSE(dlls.empty());
    for (const std::string& dll : dlls)
        EXPECT_TRUE(LoadsOnlyFromSystem(dll)) << dll << " would be looked for beside the program first";
}

// Started from a folder such as Downloads that holds DLLs named as those the program imports, loads itself or has
// Windows load for it (each one logs if it is ever loaded), and with the same DLLs beside the program: every
// action still runs on the system's own.
TEST(ProgramDllSearch, DllsLeftBesideItOrInTheCurrentFolderAreNeverLoaded) {
    static const wchar_t* const kPlantedNames[] = {L"msimg32.dll",  L"dwmapi.dll", L"uxtheme.dll", L"oleaut32.dll",
                                                   L"rasapi32.dll", L"oleacc.dll", L"version.dll", L"shell32.dll"};
    KAVLO_REQUIRE_SYSTEM_STAND_INS();
    Sandbox sandbox;
    RdpAssociation association(sandbox.Folder() / L"rdp_handler.exe");
    const fs::path current = sandbox.Folder() / L"Downloads";
    ASSERT_TRUE(fs::create_directory(current));
    for (const fs::path& folder : {sandbox.Folder(), current}) {
        for (const wchar_t* name : kPlantedNames)
            fs::copy_file(BuildOutputFolder() / L"planted_dll.dll", folder / name);
    }
    ProgramProcess program(sandbox, current);
    HWND launcher = program.WaitForWindow(kFormClass, kLauncherCaption, true);
    ASSERT_NE(launcher, nullptr);
    HWND settings = program.OpenSettings(launcher);
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(SetText(FindEditBeside(settings, L"Server IP:"), L"10.0.0.5"));
    HWND use_vpn = FindDescendant(settings, L"Button", L"زمان اتصال VPN استفاده از ");
    ASSERT_TRUE(Click(use_vpn));
    ASSERT_TRUE(program.SaveSettings(settings));

    ASSERT_TRUE(Click(FindDescendant(launcher, L"Button", L"Start")));
    EXPECT_EQ(sandbox.WaitForCalls(2).size(), 2u) << "rasdial, then the connection file's handler";
    EXPECT_TRUE(program.MessageBoxes().empty());

    PostMessageW(launcher, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
    // The sandbox checks, as it goes, that nothing planted wrote down that it was loaded.
}

// A hand-edited settings file can hold an escaped line break in the server address: "Save" must not write what
// follows it into Kavlo.rdp as settings of their own, and refuses before either file changes.
TEST(ServerAddress, WithALineBreakIsRefusedBeforeEitherFileChanges) {
    Sandbox sandbox;
    const std::string settings_bytes =
        SettingsFile("\"False\"", "\"10.0.0.5\\ndrivestoredirect:s:*\\nalternate shell:s:C:\\\\evil.exe\"");
    WriteBytes(sandbox.Folder() / L"setup_a.ini", settings_bytes);
    const std::string rdp_bytes = "full address:s:10.0.0.1\r\n";
    WriteBytes(sandbox.Folder() / L"Kavlo.rdp", rdp_bytes);

    ProgramProcess program(sandbox);
    HWND launcher = program.WaitForWindow(kFormClass, kLauncherCaption, true);
    ASSERT_NE(launcher, nullptr);
    HWND settings = program.OpenSettings(launcher);
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(Press(FindDescendant(settings, L"Button", L"Save")));
    HWND box = program.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    EXPECT_NE(MessageBoxText(box).find(L"\"Server IP\" holds a line break"), std::wstring::npos)
        << Utf8(MessageBoxText(box));
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitFor(kPatience, [&] { return program.MessageBoxes().empty(); }));

    EXPECT_TRUE(IsWindowVisible(settings)) << "the dialog stays open, as after any failed save";
    EXPECT_EQ(ReadBytes(sandbox.Folder() / L"Kavlo.rdp"), rdp_bytes);
    EXPECT_EQ(ReadBytes(sandbox.Folder() / L"setup_a.ini"), settings_bytes);

    PostMessageW(launcher, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
}

namespace {
struct DamagedFile {
    const char* name;
    std::string bytes;
    std::wstring sentence;  // the failure's own, as the box shows it, before the file's path
};
void PrintTo(const DamagedFile& file, std::ostream* os) { *os << file.name; }

class DamagedSettingsFile : public testing::TestWithParam<DamagedFile> {};
}  // namespace

// The one box names the file and says what to do, since the program ends after it and the dialog that would write
// the file anew cannot be reached.
TEST_P(DamagedSettingsFile, AtStartUpShowsOneBoxNamingTheFileAndEndsWithCodeZero) {
    Sandbox sandbox;
    WriteBytes(sandbox.Folder() / L"setup_a.ini", GetParam().bytes);
    ProgramProcess program(sandbox);

    ASSERT_NE(program.WaitForMessageBox(), nullptr);
    std::vector<HWND> boxes = program.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    const std::wstring text = MessageBoxText(boxes[0]);
    const std::wstring path = (sandbox.Folder() / L"setup_a.ini").wstring();
    EXPECT_EQ(text.rfind(GetParam().sentence, 0), 0u) << Utf8(text);
    EXPECT_NE(text.find(L"\"" + path + L"\""), std::wstring::npos) << Utf8(text);
    EXPECT_NE(text.find(L"delete it"), std::wstring::npos) << Utf8(text);
    EXPECT_EQ(TextOf(boxes[0]), L"Kavlo_connect") << "the title is the caption";
    EXPECT_EQ(program.WaitForWindow(kFormClass, kLauncherCaption, true, std::chrono::milliseconds(200)), nullptr)
        << "no window shows before the box";

    PostMessageW(boxes[0], WM_COMMAND, IDOK, 0);
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DamagedSettingsFile,
    testing::Values(DamagedFile{"NotUtf8AfterTheMark", SettingsFile("\"True\"", "\"10.0.0.5\xFF\xFE\""),
                                L"No mapping for the Unicode character exists in the target multi-byte code page."},
                    DamagedFile{"CheckedIsANumber", SettingsFile("1", "\"10.0.0.5\""), L"Invalid property element: 1."},
                    DamagedFile{"CheckedIsEmpty", SettingsFile("", "\"10.0.0.5\""), L"Invalid property element: "},
                    DamagedFile{"FarTooLarge", SettingsFile("\"True\"", "\"" + std::string(1100 * 1024, 'x') + "\""),
                                L"Cannot open file \""},
                    // 3 kB with line breaks, a forged second message among them: quoted short, on one line.
                    DamagedFile{"CheckedIsHostile",
                                SettingsFile("\"" + std::string(1500, 'A') +
                                                 "\\r\\n\\r\\nThe settings are fine. Press OK.\\r\\n" +
                                                 std::string(1500, 'B') + "\"",
                                             "\"10.0.0.5\""),
                                L"Invalid property element: " + std::wstring(59, L'A') +
                                    L"\u2026.\r\n\r\nThe settings file is \""}));

// "Cancel" over a file damaged while the program runs names the file and what to do, as start-up does; the dialog
// stays open, and "Save" still writes the file anew.
TEST(DamagedSettingsFileWhileRunning, CancelNamesTheFileAndTheRemedy) {
    Sandbox sandbox;
    const fs::path file = sandbox.Folder() / L"setup_a.ini";
    WriteBytes(file, SettingsFile("\"True\"", "\"10.0.0.5\""));
    ProgramProcess program(sandbox);
    HWND launcher = program.WaitForWindow(kFormClass, kLauncherCaption, true);
    ASSERT_NE(launcher, nullptr);
    WriteBytes(file, SettingsFile("\"True\"", "\"10.0.0.5\xFF\xFE\""));

    HWND settings = program.OpenSettings(launcher);
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(Press(FindDescendant(settings, L"Button", L"Cancel")));
    HWND box = program.WaitForMessageBox();
    ASSERT_NE(box, nullptr);
    const std::wstring text = MessageBoxText(box);
    EXPECT_EQ(text,
              L"No mapping for the Unicode character exists in the target multi-byte code page.\r\n\r\n"
              L"The settings file is \"" +
                  file.wstring() +
                  L"\". Correct that file or delete it: without it the program starts with empty settings.")
        << Utf8(text);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    ASSERT_TRUE(WaitFor(kPatience, [&] { return program.MessageBoxes().empty(); }));
    EXPECT_TRUE(IsWindowVisible(settings));

    ASSERT_TRUE(program.SaveSettings(settings));
    PostMessageW(launcher, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
}

// A file damaged while the program runs is no obstacle to "Save", which writes it anew from the dialog.
TEST(DamagedSettingsFileWhileRunning, IsReplacedByTheNextSave) {
    Sandbox sandbox;
    const fs::path file = sandbox.Folder() / L"setup_a.ini";
    WriteBytes(file, SettingsFile("\"True\"", "\"10.0.0.5\""));
    ProgramProcess program(sandbox);
    HWND launcher = program.WaitForWindow(kFormClass, kLauncherCaption, true);
    ASSERT_NE(launcher, nullptr);
    WriteBytes(file, "\xEF\xBB\xBF[Main]\r\n\xC3\x28\r\n");

    HWND settings = program.OpenSettings(launcher);
    ASSERT_NE(settings, nullptr);
    ASSERT_TRUE(program.SaveSettings(settings));
    EXPECT_TRUE(program.MessageBoxes().empty());

    const std::string text = ReadBytes(file);
    EXPECT_NE(text.find("Checked=\"True\""), std::string::npos) << text;
    EXPECT_NE(text.find("Text=\"10.0.0.5\""), std::string::npos) << text;

    PostMessageW(launcher, WM_CLOSE, 0, 0);
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
}

// A settings file another program holds open without sharing through the whole start (an editor, a sync client
// that does not let go): the box names the lock and the remedy, and offers no deletion, which in a synchronised
// folder would reach every device.
TEST(HeldSettingsFile, AtStartUpTheBoxNamesTheLockNotDamage) {
    Sandbox sandbox;
    const fs::path file = sandbox.Folder() / L"setup_a.ini";
    WriteBytes(file, SettingsFile("\"True\"", "\"10.0.0.5\""));
    HANDLE held = CreateFileW(file.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    ProgramProcess program(sandbox);

    HWND box = program.WaitForMessageBox();
    CloseHandle(held);
    ASSERT_NE(box, nullptr);
    const std::wstring text = MessageBoxText(box);
    EXPECT_EQ(text.rfind(L"Cannot open file \"" + file.wstring() + L"\". ", 0), 0u) << Utf8(text);
    EXPECT_NE(text.find(L"\r\n\r\nThe settings file is \"" + file.wstring() +
                        L"\". Another program has it open and keeps it from being read: close that program, then "
                        L"start the program again."),
              std::wstring::npos)
        << Utf8(text);
    EXPECT_EQ(text.find(L"delete"), std::wstring::npos) << Utf8(text);

    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
}
