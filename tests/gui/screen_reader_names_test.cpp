// What screen readers read for the launcher's windows whose text is not their name: the close glyph button (the
// second tab stop, which ends the program) by the menu's own word for it, the logo by the company's name, and
// nothing for the panel whose caption is never shown; their window texts stay as they are.
#include "launcher_fixture.h"
#include "platform/accessible_names.h"
#include "platform/text.h"

#include <map>

namespace {
class ScreenReaderNames : public LauncherTest {
protected:
    void SetUp() override {
        SetScreenReaderNamesForTests([this](HWND hwnd, const std::wstring& name) { asked[hwnd] = name; });
        LauncherTest::SetUp();
    }
    void TearDown() override {
        LauncherTest::TearDown();
        SetScreenReaderNamesForTests(nullptr);
    }
    std::map<HWND, std::wstring> asked;
};

TEST_F(ScreenReaderNames, TheCloseGlyphTheLogoAndTheHiddenCaptionAreNamedWithoutTouchingTheirText) {
    const struct {
        const char* what;
        HWND hwnd;
        std::wstring name;
        std::wstring text;
    } rows[] = {
        {"close glyph", launcher->Find<BitmapButton>(L"BitBtn1").Handle(), L"\u062E\u0631\u0648\u062C", L""},
        {"logo", launcher->Find<Image>(L"Image1").Handle(), L"Kavlo",
         WindowText(launcher->Find<Image>(L"Image1").Handle())},
        {"panel under the logo", launcher->Find<Panel>(L"Panel4").Handle(), L"", L"Panel4"},
    };
    for (const auto& row : rows) {
        ASSERT_TRUE(asked.contains(row.hwnd)) << row.what << " was given no name";
        EXPECT_EQ(asked[row.hwnd], row.name) << row.what;
        EXPECT_EQ(WindowText(row.hwnd), row.text) << row.what;
    }
    EXPECT_EQ(asked.size(), std::size(rows)) << "nothing else is named: its own text names it";
}
}  // namespace
