// What screen readers and keyboard users get of the style's owner-drawn menus: every item's data begins with the
// record Windows reads an owner-drawn item's name from, and typed letters still choose items by their access keys.
#include "app/application.h"
#include "gui_support.h"
#include "launcher/launcher_window.h"
#include "launcher_fixture.h"
#include "platform/text.h"
#include "settings/settings_dialog.h"
#include "style_support.h"

#include <oleacc.h>
#include <string>

namespace {
class MenuAccess : public WithAmakrits {
protected:
    void SetUp() override {
        WithAmakrits::SetUp();
        made_.emplace();
        launcher = made_->get();
        launcher->Show();
        PumpMessages(100);
    }
    void TearDown() override {
        made_.reset();
        WithAmakrits::TearDown();
    }
    // As Windows does before it shows a drop-down or the window menu.
    void Opening(HMENU menu, bool window_menu) const {
        SendMessageW(launcher->Handle(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, window_menu));
    }
    std::optional<ScopedLauncher> made_;
    LauncherWindow* launcher = nullptr;
};

// The name a screen reader reads for an item: the text of the record its data points to; empty when there is none.
std::wstring AccessibleName(HMENU menu, UINT position) {
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_DATA;
    if (!GetMenuItemInfoW(menu, position, TRUE, &info) || !(info.fType & MFT_OWNERDRAW) || !info.dwItemData) return {};
    const auto* record = reinterpret_cast<const MSAAMENUINFO*>(info.dwItemData);
    if (record->dwMSAASignature != static_cast<DWORD>(MSAA_MENU_SIG) || !record->pszWText) return {};
    return std::wstring(record->pszWText, record->cchWText);
}

std::wstring LabelOf(HMENU menu, UINT position) {
    wchar_t text[128] = {};
    GetMenuStringW(menu, position, text, 128, MF_BYPOSITION);
    const std::wstring whole = text;
    return whole.substr(0, whole.find(L'\t'));
}

TEST_F(MenuAccess, EveryItemOfTheBarTheDropDownAndTheWindowMenuCarriesItsName) {
    HMENU bar = GetMenu(launcher->Handle());
    HMENU file = GetSubMenu(bar, 0);
    HMENU window_menu = GetSystemMenu(launcher->Handle(), FALSE);
    Opening(file, false);
    Opening(window_menu, true);
    const struct {
        const char* where;
        HMENU menu;
        UINT position;
        std::wstring name;  // empty: the window menu's own text, whatever this Windows calls it
    } rows[] = {
        {"bar", bar, 0, L"FILE"},
        {"drop-down", file, 0, L"\u062A\u0646\u0638\u06CC\u0645\u0627\u062A \u0633\u0631\u0648\u0631"},
        {"drop-down", file, 2, L"\u062E\u0631\u0648\u062C"},
    };
    for (const auto& row : rows) EXPECT_EQ(AccessibleName(row.menu, row.position), row.name) << row.where;
    const int count = GetMenuItemCount(window_menu);
    ASSERT_GT(count, 0);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE;
        GetMenuItemInfoW(window_menu, static_cast<UINT>(i), TRUE, &info);
        if (info.fType & MFT_SEPARATOR) continue;
        EXPECT_EQ(AccessibleName(window_menu, static_cast<UINT>(i)), LabelOf(window_menu, static_cast<UINT>(i)))
            << "window menu item " << i;
    }
}

// Windows matches typed letters against text items only; the owner answers for its owner-drawn ones.
TEST_F(MenuAccess, ALetterTypedInTheWindowMenuChoosesTheItemWithThatAccessKey) {
    HMENU window_menu = GetSystemMenu(launcher->Handle(), FALSE);
    Opening(window_menu, true);
    const int count = GetMenuItemCount(window_menu);
    int close = -1;
    for (int i = 0; i < count; ++i)
        if (GetMenuItemID(window_menu, i) == SC_CLOSE) close = i;
    ASSERT_GE(close, 0);
    const std::wstring label = LabelOf(window_menu, static_cast<UINT>(close));
    const std::size_t amp = label.find(L'&');
    ASSERT_NE(amp, std::wstring::npos) << WideToUtf8(label);
    const wchar_t key = static_cast<wchar_t>(towlower(label[amp + 1]));

    const LRESULT answer = SendMessageW(launcher->Handle(), WM_MENUCHAR, MAKEWPARAM(key, MF_SYSMENU),
                                        reinterpret_cast<LPARAM>(window_menu));
    EXPECT_EQ(HIWORD(answer), MNC_EXECUTE);
    EXPECT_EQ(LOWORD(answer), close);
    const LRESULT none = SendMessageW(launcher->Handle(), WM_MENUCHAR, MAKEWPARAM(L'\u0416', MF_SYSMENU),
                                      reinterpret_cast<LPARAM>(window_menu));
    EXPECT_NE(HIWORD(none), MNC_EXECUTE) << "a letter that is no item's access key runs nothing";
}
}  // namespace
