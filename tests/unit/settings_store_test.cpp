#include "settings/settings_store.h"

#include "platform/failure.h"
#include "platform/files.h"
#include "platform/locale_values.h"
#include "platform/text.h"
#include "tests/support/settings_test_support.h"
#include "tests/support/wine_rig.h"

#include <windows.h>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

// The settings dialog's six bound controls.
struct Dialog {
    explicit Dialog(const std::wstring& path) {
        store.path = path;
        store.bindings = {{&use_vpn, {L"Checked"}}, {&wifi_network, {L"Text"}}, {&vpn_entry, {L"Text"}},
                          {&vpn_user, {L"Text"}},   {&vpn_password, {L"Text"}}, {&server_address, {L"Text"}}};
    }
    void FillWorkedExample() {
        use_vpn.checked = true;
        wifi_network.text = L"Office", vpn_entry.text = L"Work", vpn_user.text = L"ali", vpn_password.text = L"",
        server_address.text = L"10.0.0.5:3389";
    }
    int Assignments() const {
        int total = 0;
        for (const FakeControl* control :
             {&use_vpn, &wifi_network, &vpn_entry, &vpn_user, &vpn_password, &server_address})
            total += control->assignments;
        return total;
    }
    FakeControl use_vpn{L"CheckBox2", L"Checked", PropertyKind::Boolean};
    FakeControl wifi_network{L"Edit1", L"Text", PropertyKind::Text}, vpn_entry{L"Edit2", L"Text", PropertyKind::Text},
        vpn_user{L"Edit3", L"Text", PropertyKind::Text}, vpn_password{L"Edit4", L"Text", PropertyKind::Text},
        server_address{L"Edit5", L"Text", PropertyKind::Text};
    SettingsStore store;
};

class SettingsStoreTest : public testing::Test {
protected:
    TempFolder folder;
    std::wstring path = folder.File(L"setup_a.ini");
};

TEST_F(SettingsStoreTest, WritesTheWorkedExampleByteForByte) {
    Dialog dialog(path);
    dialog.FillWorkedExample();
    dialog.store.WriteFileAnew(dialog.store.ReadValues());
    const std::string first = ReadBytes(path);
    EXPECT_EQ(first.size(), 373u);
    EXPECT_EQ(first, kWorkedExample);

    dialog.store.WriteFileAnew(dialog.store.ReadValues());
    EXPECT_EQ(ReadBytes(path), first);
    dialog.store.WriteFileKeepingOtherSections(dialog.store.ReadValues());
    EXPECT_EQ(ReadBytes(path), first);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"setup_a.ini"});

    Dialog restored(path);
    restored.store.Restore();
    EXPECT_TRUE(restored.use_vpn.checked);
    EXPECT_EQ(restored.wifi_network.text, L"Office");
    EXPECT_EQ(restored.vpn_entry.text, L"Work");
    EXPECT_EQ(restored.vpn_user.text, L"ali");
    EXPECT_EQ(restored.vpn_password.text, L"");
    EXPECT_EQ(restored.server_address.text, L"10.0.0.5:3389");
    EXPECT_EQ(restored.vpn_password.assignments, 1);
}

TEST_F(SettingsStoreTest, EscapesTextsAndRestoresThem) {
    const struct {
        std::wstring text;
        std::string line;
    } cases[] = {
        {L"C:\\VPN", "Text=\"C:\\\\VPN\""},
        {L"a\tb", "Text=\"a\\tb\""},
        {L" x = y; z ", "Text=\" x = y; z \""},
        {L"say \"hi\"", "Text=\"say \"hi\"\""},
        {L"\\n", "Text=\"\\\\n\""},
        {L"", "Text=\"\""},
        {L"line\r\nnext", "Text=\"line\\nnext\""},
        {L"caf\u00E9", "Text=\"caf\xC3\xA9\""},
    };
    for (const auto& c : cases) {
        Dialog dialog(path);
        dialog.FillWorkedExample();
        dialog.wifi_network.text = c.text;
        dialog.store.WriteFileAnew(dialog.store.ReadValues());
        EXPECT_NE(ReadBytes(path).find("[Edit1: TcxPropertiesStoreComponent]\r\n=\r\n" + c.line + "\r\n\r\n"),
                  std::string::npos)
            << c.line;

        Dialog restored(path);
        restored.wifi_network.text = L"before";
        restored.store.Restore();
        EXPECT_EQ(restored.wifi_network.text, c.text) << c.line;
    }
}

TEST_F(SettingsStoreTest, ReadsHandWrittenFiles) {
    const std::string main = "[Main]\r\nVersion=2\r\n";
    const std::string box = "[CheckBox2: TcxPropertiesStoreComponent]\r\n";
    const std::string edit = "[Edit1: TcxPropertiesStoreComponent]\r\n";
    const struct {
        const char* what;
        std::string file;
        std::optional<bool> checked;       // nullopt: not assigned
        std::optional<std::wstring> text;  // nullopt: not assigned
    } cases[] = {
        {"upper-case names",
         "[MAIN]\r\nVERSION=2\r\n[CHECKBOX2: TCXPROPERTIESSTORECOMPONENT]\r\nChecked=\"True\"\r\n"
         "[edit1: tcxpropertiesstorecomponent]\r\nText=\"x\"\r\n",
         true, L"x"},
        {"keys in another case", main + box + "checked=\"True\"\r\n" + edit + "TEXT=\"x\"\r\n", {}, {}},
        {"true", main + box + "Checked=\"true\"\r\n", true, {}},
        {"FALSE unquoted", main + box + "Checked=FALSE\r\n", false, {}},
        {"integer", main + edit + "Text=007\r\n", {}, L"7"},
        {"hexadecimal", main + edit + "Text=$1F\r\n", {}, L"31"},
        {"plain word", main + edit + "Text=abc\r\n", {}, L"abc"},
        {"empty unquoted", main + edit + "Text=\r\n", {}, L""},
        {"version 0", "[Main]\r\nVersion=0\r\n" + edit + "Text=\"a \\n b\\\\nc\"\r\n", {}, L"a\r\n b\\nc"},
        {"no Main", edit + "Text=\"C:\\\\VPN\"\r\n", {}, L"C:\\\\VPN"},
        {"unknown version", "[Main]\r\nVersion=9\r\n" + edit + "Text=\"a\\tb\"\r\n", {}, L"a\\tb"},
        {"first of duplicates",
         main + edit + "Text=\"first\"\r\nText=\"second\"\r\n" + edit + "Text=\"third\"\r\n",
         {},
         L"first"},
        {"unknown keys and comments", main + edit + "=\r\nSourceDPI=96\r\n;Text=\"comment\"\r\nHint=\"h\"\r\n", {}, {}},
        {"no sections", "Text=\"x\"\r\n", {}, {}},
        {"null character", main + edit + std::string("Text=\"ab\0cd\"\r\n", 14), {}, L"ab"},
    };
    for (const auto& c : cases) {
        WriteBytes(path, kMark + c.file);
        Dialog dialog(path);
        dialog.wifi_network.text = L"before";
        dialog.store.Restore();
        EXPECT_EQ(dialog.use_vpn.assignments, c.checked ? 1 : 0) << c.what;
        if (c.checked) {
            EXPECT_EQ(dialog.use_vpn.checked, *c.checked) << c.what;
        }
        EXPECT_EQ(dialog.wifi_network.text, c.text.value_or(L"before")) << c.what;
        EXPECT_EQ(dialog.wifi_network.assignments, c.text ? 1 : 0) << c.what;
        EXPECT_EQ(dialog.Assignments(), (c.checked ? 1 : 0) + (c.text ? 1 : 0)) << c.what;
    }
}

TEST_F(SettingsStoreTest, StoreDropsWhatItDidNotWriteWhenReCreating) {
    WriteBytes(path, std::string(kMark) +
                         "; notes\r\n[Main]\r\nVersion=1\r\nNote=x\r\n[Other]\r\nA=1\r\n"
                         "[Edit1: TcxPropertiesStoreComponent]\r\nText=\"stale\"\r\nExtra=1\r\n");
    Dialog dialog(path);
    dialog.FillWorkedExample();
    dialog.store.WriteFileAnew(dialog.store.ReadValues());
    EXPECT_EQ(ReadBytes(path), kWorkedExample);
}

TEST_F(SettingsStoreTest, StoreKeepsOtherObjectsWithoutReCreating) {
    WriteBytes(path, std::string(kMark) +
                         "[Main]\r\nVersion=1\r\nNote=x\r\n; dropped\r\n"
                         "[Edit10: TcxPropertiesStoreComponent]\r\n=\r\nText=\"ten\"\r\n"
                         "[Edit1/Old]\r\nA=1\r\n[CheckBox2: TcxPropertiesStoreComponent]\r\nChecked=\"False\"\r\n"
                         "[Other]\r\nloose\r\n");
    Dialog dialog(path);
    dialog.FillWorkedExample();
    dialog.store.WriteFileKeepingOtherSections(dialog.store.ReadValues());
    EXPECT_EQ(ReadBytes(path),
              std::string(kMark) +
                  "[Main]\r\nVersion=2\r\nNote=x\r\n\r\n"
                  "[Edit10: TcxPropertiesStoreComponent]\r\n=\r\nText=\"ten\"\r\n\r\n"
                  "[Other]\r\nloose\r\n\r\n" +
                  kWorkedExample.substr(std::string_view("\xEF\xBB\xBF[Main]\r\nVersion=2\r\n\r\n").size()));
}

TEST_F(SettingsStoreTest, ReadsUtf16FilesAndRewritesThemAsUtf8) {
    const std::wstring text =
        L"[Main]\r\nVersion=2\r\n\r\n[Edit1: TcxPropertiesStoreComponent]\r\n=\r\n"
        L"Text=\"Caf\u00E9 \u0627 \xD83D\xDE00\"\r\n\r\n";
    for (bool big_endian : {false, true}) {
        std::string bytes = big_endian ? "\xFE\xFF" : "\xFF\xFE";
        for (wchar_t c : text) {
            const char high = static_cast<char>(c >> 8), low = static_cast<char>(c & 0xFF);
            bytes += big_endian ? high : low;
            bytes += big_endian ? low : high;
        }
        WriteBytes(path, bytes);
        Dialog dialog(path);
        dialog.store.bindings.resize(2);
        dialog.store.Restore();
        EXPECT_EQ(dialog.wifi_network.text, L"Caf\u00E9 \u0627 \xD83D\xDE00");
        dialog.store.WriteFileKeepingOtherSections(dialog.store.ReadValues());
        EXPECT_EQ(ReadBytes(path), std::string(kMark) +
                                       "[Main]\r\nVersion=2\r\n\r\n"
                                       "[CheckBox2: TcxPropertiesStoreComponent]\r\n=\r\nChecked=\"False\"\r\n\r\n"
                                       "[Edit1: TcxPropertiesStoreComponent]\r\n=\r\n"
                                       "Text=\"Caf\xC3\xA9 \xD8\xA7 \xF0\x9F\x98\x80\"\r\n\r\n");
    }
}

// A file without a mark is read in the ANSI code page and rewritten in UTF-8 with the mark.
void ExpectAnsiFileReadAndRewritten(const std::string& value, const std::wstring& text, const std::string& utf8) {
    TempFolder folder;
    const std::wstring path = folder.File(L"setup_a.ini");
    WriteBytes(path, "[Main]\r\nVersion=2\r\n[Edit1: TcxPropertiesStoreComponent]\r\nText=\"" + value + "\"\r\n");
    Dialog dialog(path);
    dialog.store.bindings = {{&dialog.wifi_network, {L"Text"}}};
    dialog.store.Restore();
    EXPECT_EQ(dialog.wifi_network.text, text);
    dialog.store.WriteFileKeepingOtherSections(dialog.store.ReadValues());
    EXPECT_EQ(ReadBytes(path), std::string(kMark) +
                                   "[Main]\r\nVersion=2\r\n\r\n"
                                   "[Edit1: TcxPropertiesStoreComponent]\r\n=\r\nText=\"" +
                                   utf8 + "\"\r\n\r\n");
}

TEST(CodePage1252SettingsStoreTest, ReadsAnsiFile) {
    KAVLO_REQUIRE_CODE_PAGE(1252);
    ExpectAnsiFileReadAndRewritten("Caf\xE9", L"Caf\u00E9", "Caf\xC3\xA9");
}
// A hand-edited file's unquoted numbers and dates are read in the user's locale and written back, quoted, as the
// user's locale writes them. Run once under each locale of the table (see tests/CMakeLists.txt).
TEST(UserLocaleNumbersAndDates, ReadAndWrittenBackInTheUsersLocale) {
    const struct {
        const wchar_t* locale;
        std::string written;  // by hand, unquoted
        std::wstring shown;   // in the edit, and written back between quotes
        bool date = false;    // then the text shown reads as the same date again
    } cases[] = {
        {L"en-US", "1.50", L"1.5"},
        {L"en-US", "-2.5e3", L"-2500"},
        {L"en-US", "3000000000", L"3000000000"},
        {L"en-US", "12/31/2024 1:05 PM", L"12/31/2024 1:05:00 PM", true},
        {L"en-US", "12/31/30", L"12/31/2030", true},
        {L"en-US", "2/29/2024", L"2/29/2024", true},
        {L"en-US", "31.12.2024 10:30", L"31.12.2024 10:30"},
        {L"en-US", "1e400", L"1e400"},
        {L"de-DE", "1,50", L"1,5"},
        {L"de-DE", "-2,5e3", L"-2500"},
        {L"de-DE", "31.12.2024 10:30", L"31.12.2024 10:30:00", true},
        {L"de-DE", "31.12.2024", L"31.12.2024", true},
        {L"de-DE", "10.0.0.5", L"10.0.0.5"},  // "." groups digits here, but grouping is no number's
        {L"de-DE", "10.0.0.5:3389", L"10.0.0.5:3389"},
        {L"de-DE", std::string("1,5\0x", 5), L"1,5"},  // cut at the null, as the edit window cuts it
    };
    wchar_t locale[LOCALE_NAME_MAX_LENGTH] = {};
    ASSERT_GT(GetUserDefaultLocaleName(locale, LOCALE_NAME_MAX_LENGTH), 0);
    int checked = 0;
    for (const auto& c : cases) {
        if (std::wstring_view(c.locale) != locale) continue;
        SCOPED_TRACE(c.written);
        TempFolder folder;
        const std::wstring path = folder.File(L"setup_a.ini");
        WriteBytes(path, std::string(kMark) + "[Main]\r\nVersion=2\r\n[Edit1: TcxPropertiesStoreComponent]\r\nText=" +
                             c.written + "\r\n");
        Dialog dialog(path);
        dialog.store.Restore();
        EXPECT_EQ(dialog.wifi_network.text, c.shown);
        dialog.store.WriteFileAnew(dialog.store.ReadValues());
        EXPECT_NE(ReadBytes(path).find("[Edit1: TcxPropertiesStoreComponent]\r\n=\r\nText=\"" + WideToUtf8(c.shown) +
                                       "\"\r\n"),
                  std::string::npos);
        if (c.date) {
            EXPECT_EQ(UserLocaleDateText(c.shown), std::optional<std::wstring>(c.shown));
        }
        ++checked;
    }
    EXPECT_GT(checked, 0) << "no cases for the user's locale " << testing::PrintToString(std::wstring(locale));
}
TEST(CodePage1256SettingsStoreTest, ReadsAnsiFile) {
    KAVLO_REQUIRE_CODE_PAGE(1256);
    ExpectAnsiFileReadAndRewritten("\xC7\xE1 x", L"\u0627\u0644 x", "\xD8\xA7\xD9\x84 x");
}
TEST(CodePage65001SettingsStoreTest, ReadsAnsiFile) {
    KAVLO_REQUIRE_CODE_PAGE(65001);
    ExpectAnsiFileReadAndRewritten("Caf\xC3\xA9", L"Caf\u00E9", "Caf\xC3\xA9");
}

TEST_F(SettingsStoreTest, BadCheckedValueFailsBeforeAnyControlChanges) {
    const struct {
        std::string raw;
        std::wstring shown;
    } cases[] = {{"yes", L"yes"}, {"1", L"1"},    {"\"1\"", L"1"},        {"\"\"", L""},
                 {"", L""},       {"$1F", L"31"}, {"\"Truth\"", L"Truth"}};
    for (const auto& c : cases) {
        std::string file = kWorkedExample;
        file.replace(file.find("\"True\""), 6, c.raw);
        WriteBytes(path, file);
        Dialog dialog(path);
        EXPECT_EQ(FailureOf([&] { dialog.store.Restore(); }), L"Invalid property element: " + c.shown) << c.raw;
        EXPECT_EQ(dialog.Assignments(), 0) << c.raw;
    }
}

TEST_F(SettingsStoreTest, BadBooleanStopsTheRestoreWhereItStands) {
    FakeControl late(L"CheckBox3", L"Checked", PropertyKind::Boolean);
    WriteBytes(path, kWorkedExample + "[CheckBox3: TcxPropertiesStoreComponent]\r\nChecked=\"no\"\r\n");
    Dialog dialog(path);
    dialog.store.bindings.insert(dialog.store.bindings.begin() + 3, {&late, {L"Checked"}});
    EXPECT_EQ(FailureOf([&] { dialog.store.Restore(); }), L"Invalid property element: no");
    EXPECT_TRUE(dialog.use_vpn.checked);
    EXPECT_EQ(dialog.vpn_entry.text, L"Work");
    EXPECT_EQ(late.assignments + dialog.vpn_user.assignments + dialog.vpn_password.assignments +
                  dialog.server_address.assignments,
              0);
}

// Restoring and keeping other objects' sections must decode the file, and fail; writing it anew need not.
TEST_F(SettingsStoreTest, InvalidUtf8FailsToBeReadAndIsWrittenAnew) {
    const std::string file =
        std::string(kMark) + "[Main]\r\nVersion=2\r\n[Edit1: TcxPropertiesStoreComponent]\r\nText=\"\xED\xA0\x80\"\r\n";
    WriteBytes(path, file);
    const std::wstring message = L"No mapping for the Unicode character exists in the target multi-byte code page";
    Dialog dialog(path);
    EXPECT_EQ(FailureOf([&] { dialog.store.Restore(); }), message);
    EXPECT_EQ(dialog.Assignments(), 0);
    EXPECT_EQ(FailureOf([&] { dialog.store.WriteFileKeepingOtherSections(dialog.store.ReadValues()); }), message);
    EXPECT_EQ(ReadBytes(path), file);

    dialog.FillWorkedExample();
    EXPECT_EQ(FailureOf([&] { dialog.store.WriteFileAnew(dialog.store.ReadValues()); }), L"(no failure)");
    EXPECT_EQ(ReadBytes(path), kWorkedExample);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"setup_a.ini"});
}

TEST_F(SettingsStoreTest, FileHeldOpenWithoutSharingFailsBothWays) {
    WriteBytes(path, kWorkedExample);
    Dialog dialog(path);
    {
        HANDLE held =
            CreateFileW(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(held, INVALID_HANDLE_VALUE);
        const std::wstring prefix = L"Cannot open file \"" + path + L"\". ";
        EXPECT_EQ(FailureOf([&] { dialog.store.Restore(); }).substr(0, prefix.size()), prefix);
        EXPECT_EQ(dialog.Assignments(), 0);
        dialog.FillWorkedExample();
        dialog.wifi_network.text = L"changed";
        const std::wstring replacing = L"Cannot create file \"" + path + L"\". ";
        EXPECT_EQ(FailureOf([&] { dialog.store.WriteFileAnew(dialog.store.ReadValues()); }).substr(0, replacing.size()),
                  replacing);
        CloseHandle(held);
    }
    EXPECT_EQ(ReadBytes(path), kWorkedExample);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"setup_a.ini"});
}

TEST_F(SettingsStoreTest, ReadOnlyFileIsLeftAsItWas) {
    WriteBytes(path, kWorkedExample);
    ASSERT_TRUE(SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_READONLY));
    Dialog dialog(path);
    dialog.wifi_network.text = L"changed";
    const std::wstring prefix = L"Cannot create file \"" + path + L"\". ";
    EXPECT_EQ(FailureOf([&] { dialog.store.WriteFileAnew(dialog.store.ReadValues()); }).substr(0, prefix.size()),
              prefix);
    EXPECT_EQ(ReadBytes(path), kWorkedExample);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"setup_a.ini"});
}

TEST_F(SettingsStoreTest, WriteStoppingShortLeavesTheOldFile) {
    WriteBytes(path, kWorkedExample);
    Dialog dialog(path);
    dialog.wifi_network.text = L"changed";
    SetWriteLimitForTests(100);
    const std::wstring message = FailureOf([&] { dialog.store.WriteFileAnew(dialog.store.ReadValues()); });
    SetWriteLimitForTests(std::nullopt);
    EXPECT_EQ(message, L"Stream write error");
    EXPECT_EQ(ReadBytes(path), kWorkedExample);
    EXPECT_EQ(folder.Names(), std::vector<std::wstring>{L"setup_a.ini"});
}

TEST_F(SettingsStoreTest, MissingFileOrNoBindingsDoNothing) {
    Dialog dialog(path);
    dialog.FillWorkedExample();
    dialog.store.Restore();
    EXPECT_EQ(dialog.Assignments(), 0);
    dialog.store.bindings.clear();
    dialog.store.WriteFileAnew(dialog.store.ReadValues());
    EXPECT_TRUE(folder.Names().empty());
}

TEST_F(SettingsStoreTest, NamesObjectsByPositionAndFileByStoreName) {
    FakeControl unnamed(L"", L"Text", PropertyKind::Text), edit(L"Edit1", L"Text", PropertyKind::Text);
    unnamed.text = L"u";
    edit.text = L"e";
    SettingsStore store;
    store.path = L"store.ini";
    store.bindings = {{nullptr, {L"Text"}}, {&unnamed, {L"Text", L"Hint"}}, {&edit, {L"Hint", L"Text"}}};

    wchar_t previous[MAX_PATH + 1];
    GetCurrentDirectoryW(MAX_PATH + 1, previous);
    ASSERT_TRUE(SetCurrentDirectoryW(folder.Path().c_str()));
    store.WriteFileAnew(store.ReadValues());
    unnamed.text = edit.text = L"";
    store.Restore();
    SetCurrentDirectoryW(previous);

    EXPECT_EQ(ReadBytes(folder.File(L"store.ini")),
              std::string(kMark) +
                  "[Main]\r\nVersion=2\r\n\r\n"
                  "[Component0: TcxPropertiesStoreComponent]\r\n=\r\n\r\n"
                  "[Component1: TcxPropertiesStoreComponent]\r\n=\r\nText=\"u\"\r\n\r\n"
                  "[Edit1: TcxPropertiesStoreComponent]\r\n=\r\nText=\"e\"\r\n\r\n");
    EXPECT_EQ(unnamed.text, L"u");
    EXPECT_EQ(edit.text, L"e");
}

}  // namespace

// The read-only bind mount that ctest prepares for the file tests (see files_mounts.sh): a folder nobody may write.
TEST(PropertiesStoreMountTest, WriteProtectedFolderFailsNamingTheSettingsFile) {
    wchar_t root[MAX_PATH] = {};
    if (!GetEnvironmentVariableW(L"KAVLO_FILES_MOUNTS", root, MAX_PATH))
        GTEST_SKIP() << "no mounts: run through ctest as root";
    const std::wstring folder = FullPathOf(std::wstring(root) + L"\\readonly");
    if (!FileExists(folder + L"\\old.bin")) GTEST_SKIP() << "the read-only bind mount was refused";
    const std::wstring path = folder + L"\\setup_a.ini";
    Dialog dialog(path);
    dialog.FillWorkedExample();
    EXPECT_EQ(FailureOf([&] { dialog.store.WriteFileAnew(dialog.store.ReadValues()); }),
              L"Cannot create file \"" + path + L"\". " + SystemErrorText(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(FileExists(path));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(std::filesystem::path(folder)),
                            std::filesystem::directory_iterator()),
              1)
        << "nothing but old.bin is left in the folder";
}
