// "Save" and "Cancel" through the real dialog: the connection file in the current directory, the settings
// file beside the executable, and what a failure leaves behind.
#include "app/startup.h"
#include "launcher_fixture.h"
#include "platform/files.h"
#include "platform/shell.h"
#include "platform/text.h"
#include "tests/support/rdp_template.h"
#include "tests/support/settings_test_support.h"
#include "tests/support/test_signer.h"
#include "tests/support/wine_rig.h"

namespace {
void Type(const Edit& edit, const wchar_t* text) {
    SendMessageW(edit.Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}

void Click(const Control& button) { SendMessageW(button.Handle(), BM_CLICK, 0, 0); }

std::vector<std::uint8_t> Utf8(std::string_view text) { return {text.begin(), text.end()}; }

// Counts what would have been handed to the shell.
class CountingShell : public Shell {
public:
    CountingShell() { SetShellForTests(this); }
    ~CountingShell() override { SetShellForTests(nullptr); }
    DWORD ExecuteW(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*, int) override {
        ++commands;
        return ERROR_SUCCESS;
    }
    StartedTool StartTool(const wchar_t*, const wchar_t*, bool) override {
        ++commands;
        return {};
    }
    StartedTool StartToolA(const char*, const char*) override {
        ++commands;
        return {};
    }
    int commands = 0;
};
}  // namespace

class SaveTest : public LauncherTest {
protected:
    std::wstring RdpPath() const { return folder->Path(L"Kavlo.rdp"); }
    // Runs `edit` and then "Save" inside the modal dialog; returns whether the dialog was still open afterwards.
    bool SaveWith(std::function<void()> edit) {
        struct State {
            bool checked = false;
            bool open_after = false;
        };
        auto state = std::make_shared<State>();
        WithDialogShown([&, state] {
            edit();
            Click(Dialog().Find<Button>(L"Button1"));
            // A failed save leaves the dialog open: look after the modal loop had its turn, then close it.
            RunSoon([this, state] {
                state->open_after = IsWindowVisible(Dialog().Handle());
                if (state->open_after) SendMessageW(Dialog().Handle(), WM_CLOSE, 0, 0);
                state->checked = true;
            });
        });
        while (!state->checked) PumpMessages(10);
        return state->open_after;
    }
};

TEST_F(SaveTest, WritesTheConnectionFileAndTheSettingsFile) {
    bool open = SaveWith([&] {
        Click(Dialog().Find<CheckBox>(L"CheckBox2"));
        Type(Dialog().Find<Edit>(L"Edit1"), L"Office");
        Type(Dialog().Find<Edit>(L"Edit2"), L"Work");
        Type(Dialog().Find<Edit>(L"Edit3"), L"ali");
        Type(Dialog().Find<Edit>(L"Edit5"), L"10.0.0.5:3389");
    });
    EXPECT_FALSE(open);
    EXPECT_EQ(FilesGet(RdpPath()), RdpFileWithAddressLine("full address:s:10.0.0.5:3389"));
    EXPECT_EQ(FilesGet(SettingsPath()), Utf8(kWorkedExample));
    EXPECT_EQ(FilesGet(SettingsPath()).size(), 373u);
}

TEST_F(SaveTest, SavingTwiceKeepsOnlyTheSecondServer) {
    SaveWith([&] { Type(Dialog().Find<Edit>(L"Edit5"), L"first.example:1"); });
    SaveWith([&] { Type(Dialog().Find<Edit>(L"Edit5"), L"second.example:2"); });
    EXPECT_EQ(FilesGet(RdpPath()), RdpFileWithAddressLine("full address:s:second.example:2"));
    EXPECT_EQ(Dialog().Find<Memo>(L"Memo2").Text(), RdpTemplateText()) << "generation always starts from the template";
}

// A Kavlo.rdp an organisation signed for the server being saved stays byte for byte, its signature verified by
// crypt32 (signed now by the tests' own signer); any other is replaced by the template. The settings are stored
// either way.
TEST_F(SaveTest, ASignedConnectionFileForTheSameServerIsKept) {
    const std::string lines =
        "full address:s:rdp.example:3389\r\nalternate full address:s:rdp.example:3389\r\nredirectprinters:i:1\r\n";
    const std::string signed_lines = SignedLikeRdpsign(lines, "Full Address,Alternate Full Address,RedirectPrinters");
    auto utf16_with_mark = [](std::string_view ascii) {
        std::vector<std::uint8_t> bytes = {0xFF, 0xFE};
        for (char c : ascii) bytes.insert(bytes.end(), {static_cast<std::uint8_t>(c), 0});
        return bytes;
    };
    auto changed = [&](std::string_view from, std::string_view to) {
        std::string text = signed_lines;
        return Utf8(text.replace(text.find(from), from.size(), to));
    };
    struct Case {
        const char* name;
        std::vector<std::uint8_t> existing;
        std::string server;
        bool kept;
    };
    const Case cases[] = {
        {"signed, same server", Utf8(signed_lines), "rdp.example:3389", true},
        {"signed, same server in capitals, default port left out", Utf8(signed_lines), "RDP.Example", true},
        {"signed in UTF-16, same server", utf16_with_mark(signed_lines), "rdp.example:3389", true},
        {"signed, another server", Utf8(signed_lines), "other.example:3389", false},
        {"unsigned, same server", Utf8("full address:s:rdp.example:3389\r\n"), "rdp.example:3389", false},
        {"a made-up signature", Utf8(lines + "signscope:s:Full Address\r\nsignature:s:AQABAAEAAAA=\r\n"),
         "rdp.example:3389", false},
        {"a signed line changed since", changed("redirectprinters:i:1", "redirectprinters:i:0"), "rdp.example:3389",
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FilesPut(RdpPath(), c.existing);
        const bool open = SaveWith([&] {
            Type(Dialog().Find<Edit>(L"Edit1"), L"Office");
            Type(Dialog().Find<Edit>(L"Edit5"), std::wstring(c.server.begin(), c.server.end()).c_str());
        });
        EXPECT_FALSE(open);
        if (c.kept)
            EXPECT_EQ(FilesGet(RdpPath()), c.existing);
        else
            EXPECT_EQ(FilesGet(RdpPath()), RdpFileWithAddressLine("full address:s:" + c.server));
        EXPECT_NE(FilesGet(SettingsPath()).size(), 0u) << "the settings are stored";
        RemoveSettings();
    }
}

// A Kavlo.rdp that cannot be read, even after brief locks are waited out, may be a signed one: "Save" stops with a
// box naming it and why, and writes neither file.
TEST_F(SaveTest, AConnectionFileThatCannotBeReadStopsSave) {
    const std::vector<std::uint8_t> old_bytes = Utf8("full address:s:rdp.example\r\n");
    const std::vector<std::uint8_t> old_settings = Utf8("\xEF\xBB\xBF[Main]\r\nVersion=2\r\n\r\n");
    FilesPut(RdpPath(), old_bytes);
    FilesPut(SettingsPath(), old_settings);
    HANDLE held = CreateFileW(RdpPath().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    BoxWatcher watcher;
    const bool open = SaveWith([&] { Type(Dialog().Find<Edit>(L"Edit5"), L"rdp.example"); });
    CloseHandle(held);

    std::vector<SeenBox> seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"Cannot open file \"" + FullPathOf(L"Kavlo.rdp") + L"\". " +
                                SystemErrorText(ERROR_SHARING_VIOLATION) + L".");
    EXPECT_TRUE(open);
    EXPECT_EQ(FilesGet(RdpPath()), old_bytes);
    EXPECT_EQ(FilesGet(SettingsPath()), old_settings);
    EXPECT_EQ(folder->Names(), std::vector<std::wstring>{L"Kavlo.rdp"});
}

// Each cause that stops the connection file: the message over the open dialog, no settings stored, the old file
// untouched, nothing else left in the folder, and the generated text kept in the dialog.
TEST_F(SaveTest, AConnectionFileThatCannotBeWrittenLeavesTheDialogOpen) {
    struct Case {
        const char* name;
        std::function<void(const std::wstring&)> prepare;  // given the old file's path
        std::function<std::wstring(const std::wstring&)> message;
    };
    auto cannot_create = [](unsigned long code) {
        return [code](const std::wstring& path) {
            return L"Cannot create file \"" + path + L"\". " + SystemErrorText(code) + L".";
        };
    };
    HANDLE held = INVALID_HANDLE_VALUE;
    const Case cases[] = {
        {"read-only", [](const std::wstring& p) { SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_READONLY); },
         cannot_create(ERROR_ACCESS_DENIED)},
        {"hidden", [](const std::wstring& p) { SetFileAttributesW(p.c_str(), FILE_ATTRIBUTE_HIDDEN); },
         cannot_create(ERROR_ACCESS_DENIED)},
        // Readable, so "Save" gets as far as writing (a file that cannot even be read stops it sooner).
        {"held open for reading",
         [&](const std::wstring& p) {
             held = CreateFileW(p.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
         },
         cannot_create(ERROR_SHARING_VIOLATION)},
        {"disk full", [](const std::wstring&) { SetWriteLimitForTests(100); },
         [](const std::wstring&) { return std::wstring(L"Stream write error."); }},
    };
    const std::vector<std::uint8_t> old_bytes = Utf8("full address:s:old.example\r\n");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FilesPut(RdpPath(), old_bytes);
        c.prepare(RdpPath());
        BoxWatcher watcher;
        bool open = SaveWith([&] { Type(Dialog().Find<Edit>(L"Edit5"), L"10.0.0.9"); });
        SetWriteLimitForTests(std::nullopt);
        if (held != INVALID_HANDLE_VALUE) CloseHandle(std::exchange(held, INVALID_HANDLE_VALUE));
        SetFileAttributesW(RdpPath().c_str(), FILE_ATTRIBUTE_NORMAL);

        std::vector<SeenBox> seen = watcher.Seen();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, c.message(FullPathOf(L"Kavlo.rdp")));
        EXPECT_EQ(seen[0].owner, Dialog().Handle()) << "the message shows over the dialog";
        EXPECT_TRUE(open);
        EXPECT_EQ(FilesGet(RdpPath()), old_bytes);
        EXPECT_EQ(folder->Names(), std::vector<std::wstring>{L"Kavlo.rdp"});
        EXPECT_FALSE(FileExists(SettingsPath())) << "the settings are not stored";
        EXPECT_NE(Dialog().Find<Memo>(L"Memo1").Text().find(L"full address:s:10.0.0.9\r\n"), std::wstring::npos);
    }
}

TEST_F(SaveTest, AWriteProtectedSettingsFileFailsAfterTheConnectionFile) {
    const std::vector<std::uint8_t> old_settings = Utf8("\xEF\xBB\xBF[Main]\r\nVersion=2\r\n\r\n");
    FilesPut(SettingsPath(), old_settings);
    SetFileAttributesW(SettingsPath().c_str(), FILE_ATTRIBUTE_READONLY);
    BoxWatcher watcher;
    bool open = SaveWith([&] { Type(Dialog().Find<Edit>(L"Edit1"), L"Office"); });
    SetFileAttributesW(SettingsPath().c_str(), FILE_ATTRIBUTE_NORMAL);

    std::vector<SeenBox> seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text,
              L"Cannot create file \"" + SettingsPath() + L"\". " + SystemErrorText(ERROR_ACCESS_DENIED) + L".");
    EXPECT_TRUE(open);
    EXPECT_EQ(FilesGet(RdpPath()), RdpFileWithAddressLine("full address:s:192.168.1.1:7777"));
    EXPECT_EQ(FilesGet(SettingsPath()), old_settings);
}

// A VPN value that rasdial would read as a switch is refused before either file is written, naming its field.
TEST_F(SaveTest, AVpnValueBeginningWithASlashIsRefusedBeforeEitherFileIsWritten) {
    const std::pair<const wchar_t*, const wchar_t*> cases[] = {
        {L"Edit2", L"\"نام اتصال VPN\""}, {L"Edit3", L"\"VPN User\""}, {L"Edit4", L"\"VPN password\""}};
    for (const auto& [name, label] : cases) {
        const wchar_t* field = name;  // Clang 14 cannot capture a structured binding
        BoxWatcher watcher;
        bool open = SaveWith([&] { Type(Dialog().Find<Edit>(field), L"/PHONE:10.9.9.9"); });

        std::vector<SeenBox> seen = watcher.Seen();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_NE(seen[0].text.find(std::wstring(label) + L" begins with \"/\""), std::wstring::npos)
            << WideToUtf8(seen[0].text);
        EXPECT_TRUE(open);
        EXPECT_EQ(folder->Names(), std::vector<std::wstring>{}) << "no Kavlo.rdp written";
        EXPECT_FALSE(FileExists(SettingsPath()));
        Dialog().Find<Edit>(field).SetText(L"");
    }
}

TEST_F(SaveTest, TheVpnBoxFollowsASavedFlagOnlyAtTheNextStart) {
    SaveWith([&] { Click(Dialog().Find<CheckBox>(L"CheckBox2")); });
    EXPECT_FALSE(launcher->Find<CheckBox>(L"CheckBox2").Checked())
        << "the launcher's box mirrors the flag once, at start";

    Stop();
    CountingShell shell;
    Start();
    EXPECT_TRUE(launcher->Find<CheckBox>(L"CheckBox2").Checked());
    EXPECT_TRUE(Dialog().Find<CheckBox>(L"CheckBox2").Checked());
    EXPECT_EQ(shell.commands, 0) << "start-up runs no command";
}

TEST_F(SaveTest, SavedValuesComeBackAtTheNextStart) {
    // A field is read with one message up to 254 characters; a longer one is asked for its length first.
    const std::wstring long_user(255, L'u');
    SaveWith([&] {
        Type(Dialog().Find<Edit>(L"Edit1"), L"شبکه دفتر");
        Type(Dialog().Find<Edit>(L"Edit3"), long_user.c_str());
        Type(Dialog().Find<Edit>(L"Edit4"), L"p\"w\\d\t1");
        Type(Dialog().Find<Edit>(L"Edit5"), L" 10.0.0.5 ");
    });
    Stop();
    Start();
    EXPECT_EQ(Dialog().Find<Edit>(L"Edit1").Text(), L"شبکه دفتر");
    EXPECT_EQ(Dialog().Find<Edit>(L"Edit3").Text(), long_user);
    EXPECT_EQ(Dialog().Find<Edit>(L"Edit4").Text(), L"p\"w\\d\t1");
    EXPECT_EQ(Dialog().Find<Edit>(L"Edit5").Text(), L" 10.0.0.5 ");
}

TEST_F(SaveTest, CancelBringsBackStoredValuesAndKeepsTheOthers) {
    FilesPut(SettingsPath(), Utf8("\xEF\xBB\xBF[Main]\r\nVersion=2\r\n\r\n"
                                  "[Edit1: TcxPropertiesStoreComponent]\r\n=\r\nText=\"Office\"\r\n\r\n"));
    WithDialogShown([&] {
        Type(Dialog().Find<Edit>(L"Edit1"), L"typed 1");
        Type(Dialog().Find<Edit>(L"Edit2"), L"typed 2");
        Click(Dialog().Find<Button>(L"Button2"));
    });
    EXPECT_FALSE(IsWindowVisible(Dialog().Handle()));
    EXPECT_EQ(Dialog().Find<Edit>(L"Edit1").Text(), L"Office");
    EXPECT_EQ(Dialog().Find<Edit>(L"Edit2").Text(), L"typed 2");
    EXPECT_FALSE(FileExists(RdpPath())) << "Cancel writes nothing";
}

TEST_F(SaveTest, CancelWithoutASettingsFileKeepsWhatWasTyped) {
    WithDialogShown([&] {
        Type(Dialog().Find<Edit>(L"Edit3"), L"typed");
        Click(Dialog().Find<Button>(L"Button2"));
    });
    EXPECT_EQ(Dialog().Find<Edit>(L"Edit3").Text(), L"typed");
    EXPECT_FALSE(FileExists(SettingsPath()));
}

// A settings file that cannot be restored stops the start: one box naming the file, no window, and 0 from the entry
// procedure.
TEST_F(SaveTest, ABadSettingsFileEndsTheStartWithOneBox) {
    Stop();
    FilesPut(SettingsPath(), Utf8("\xEF\xBB\xBF[Main]\r\nVersion=2\r\n\r\n"
                                  "[CheckBox2: TcxPropertiesStoreComponent]\r\n=\r\nChecked=\"yes\"\r\n\r\n"));
    BoxWatcher watcher;
    int result = RunGuarded(App(), [](Application& app) { app.CreateMainForm<LauncherWindow>(app.Handle()); });
    PumpMessages(100);
    EXPECT_EQ(result, 0);
    std::vector<SeenBox> seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text,
              L"Invalid property element: yes.\r\n\r\nThe settings file is \"" + SettingsPath() +
                  L"\". Correct that file or delete it: without it the program starts with empty settings.");
    EXPECT_EQ(App().MainForm(), nullptr);
    EXPECT_TRUE(App().Forms().empty()) << "neither the launcher nor its dialog is left behind";
    RemoveSettings();
    Start();  // for the fixture's tear-down
}

// The connection file in the active ANSI code page, saved through the dialog.
class CodePage1256SaveTest : public SaveTest {};
TEST_F(CodePage1256SaveTest, PersianServerIsWrittenInTheArabicCodePage) {
    KAVLO_REQUIRE_CODE_PAGE(1256);
    SaveWith([&] { Type(Dialog().Find<Edit>(L"Edit5"), L"سرور"); });
    EXPECT_EQ(FilesGet(RdpPath()), RdpFileWithAddressLine("full address:s:\xD3\xD1\xE6\xD1"));
}

class CodePage65001SaveTest : public SaveTest {};
TEST_F(CodePage65001SaveTest, PersianServerIsWrittenAsUtf8AfterTheMark) {
    KAVLO_REQUIRE_CODE_PAGE(65001);
    SaveWith([&] { Type(Dialog().Find<Edit>(L"Edit5"), L"سرور"); });
    std::vector<std::uint8_t> expected = {0xEF, 0xBB, 0xBF};
    std::vector<std::uint8_t> text = RdpFileWithAddressLine("full address:s:\xD8\xB3\xD8\xB1\xD9\x88\xD8\xB1");
    expected.insert(expected.end(), text.begin(), text.end());
    EXPECT_EQ(FilesGet(RdpPath()), expected);
}
