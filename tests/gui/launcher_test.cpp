#include "launcher_fixture.h"

namespace {
struct ControlPlace {
    const wchar_t* name;
    const wchar_t* parent;  // nullptr: the window itself
    RECT rect;              // left, top, right, bottom in the parent's client area
    const wchar_t* window_class;
    const wchar_t* text;
};

const ControlPlace kLauncherPlaces[] = {
    {L"Panel1", nullptr, {0, 0, 59, 133}, L"KavloPanel", L""},
    {L"CheckBox2", L"Panel1", {8, 12, 48, 29}, L"Button", L"VPN"},
    {L"BitBtn1", L"Panel1", {0, 90, 59, 132}, L"Button", L""},
    {L"Panel2", nullptr, {207, 0, 404, 133}, L"KavloPanel", L""},
    {L"Panel4", L"Panel2", {1, 1, 196, 106}, L"KavloPanel", L"Panel4"},
    {L"Image1", L"Panel4", {1, 1, 194, 104}, L"Static", L""},
    {L"Button3", L"Panel2", {0, 108, 97, 133}, L"Button", L"CONNECT WiFi"},
    {L"Button4", L"Panel2", {98, 108, 195, 133}, L"Button", L"DISCONNECT WiFi"},
    {L"Panel3", nullptr, {59, 0, 207, 133}, L"KavloPanel", L""},
    {L"Button1", L"Panel3", {1, 1, 147, 132}, L"Button", L"Start"},
};

std::wstring Lower(std::wstring s) {
    for (auto& c : s) c = static_cast<wchar_t>(towlower(c));
    return s;
}
}  // namespace

TEST_F(LauncherTest, WindowHasItsCaptionPlaceAndFixedDialogFrame) {
    HWND hwnd = launcher->Handle();
    EXPECT_EQ(WindowText(hwnd), L"ارتباط با شرکت");
    EXPECT_TRUE(HasClientSize(hwnd, kLauncherClientSize));
    RECT outer;
    GetWindowRect(hwnd, &outer);
    EXPECT_EQ(outer.left, 891);
    EXPECT_EQ(outer.top, 77);
    LONG style = GetWindowLongW(hwnd, GWL_STYLE);
    EXPECT_TRUE(style & WS_SYSMENU);
    EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
    EXPECT_TRUE(GetWindowLongW(hwnd, GWL_EXSTYLE) & WS_EX_APPWINDOW) << "the launcher owns the taskbar button";
}

TEST_F(LauncherTest, ControlsStandWhereTheLayoutPutsThem) {
    for (const ControlPlace& place : kLauncherPlaces) {
        SCOPED_TRACE(testing::Message() << "control " << std::string(place.name, place.name + wcslen(place.name)));
        Control* control = launcher->FindControl(place.name);
        ASSERT_NE(control, nullptr);
        HWND parent = place.parent ? launcher->FindControl(place.parent)->Handle() : launcher->Handle();
        EXPECT_EQ(GetParent(control->Handle()), parent);
        RECT r = RectInParent(control->Handle());
        EXPECT_EQ(r.left, place.rect.left);
        EXPECT_EQ(r.top, place.rect.top);
        EXPECT_EQ(r.right, place.rect.right);
        EXPECT_EQ(r.bottom, place.rect.bottom);
        EXPECT_EQ(Lower(ClassOf(control->Handle())), Lower(place.window_class));
        if (Lower(place.window_class) == L"button") {
            EXPECT_EQ(WindowText(control->Handle()), place.text);
        }
    }
}

TEST_F(LauncherTest, MenuHasFileWithSettingsSeparatorAndExit) {
    HMENU bar = GetMenu(launcher->Handle());
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(GetMenuItemCount(bar), 1);
    wchar_t text[64] = {};
    GetMenuStringW(bar, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"FILE");
    HMENU file = GetSubMenu(bar, 0);
    ASSERT_EQ(GetMenuItemCount(file), 3);
    GetMenuStringW(file, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"تنظیمات سرور");
    MENUITEMINFOW separator{};
    separator.cbSize = sizeof separator;
    separator.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(file, 1, TRUE, &separator);
    EXPECT_TRUE(separator.fType & MFT_SEPARATOR);
    GetMenuStringW(file, 2, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"خروج");
}

TEST_F(LauncherTest, FocusStartsAtVpnAndTabFollowsTheLayoutOrder) {
    EXPECT_EQ(GetFocus(), launcher->Find<CheckBox>(L"CheckBox2").Handle())
        << "the first control in tab order has the focus";
    const HWND expected[] = {launcher->Find<BitmapButton>(L"BitBtn1").Handle(),
                             launcher->Find<Button>(L"Button3").Handle(), launcher->Find<Button>(L"Button4").Handle(),
                             launcher->Find<Button>(L"Button1").Handle(),
                             launcher->Find<CheckBox>(L"CheckBox2").Handle()};
    for (HWND next : expected) {
        PostMessageW(GetFocus(), WM_KEYDOWN, VK_TAB, 0);
        PumpMessages(30);
        EXPECT_EQ(GetFocus(), next);
    }
}

TEST_F(LauncherTest, LogoPictureCoversThePanelCaption) {
    // The logo is opaque and drawn unscaled at the top-left: the panel's caption never shows.
    Picture logo = LoadPicture(L"LOGO");
    EXPECT_EQ(logo.width, 189);
    EXPECT_EQ(logo.height, 98);
    RECT image = RectInParent(launcher->Find<Image>(L"Image1").Handle());
    EXPECT_LE(logo.width, image.right - image.left);
    EXPECT_LE(logo.height, image.bottom - image.top);
}

TEST_F(LauncherTest, SettingsDialogShowsModallyAndDisablesTheLauncher) {
    HWND dialog = nullptr;
    bool launcher_enabled = true, dialog_shown = false;
    HWND dialog_owner = nullptr;
    WithDialogShown([&] {
        dialog = Dialog().Handle();
        launcher_enabled = IsWindowEnabled(launcher->Handle());
        dialog_shown = IsWindowVisible(dialog);
        dialog_owner = GetWindow(dialog, GW_OWNER);
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_FALSE(launcher_enabled);
    EXPECT_TRUE(dialog_shown);
    EXPECT_EQ(dialog_owner, launcher->Handle()) << "above the launcher, without a taskbar button of its own";
    EXPECT_FALSE(IsWindowVisible(dialog)) << "closing a modal form only hides it";
    EXPECT_TRUE(IsWindowEnabled(launcher->Handle()));
    EXPECT_EQ(launcher->Settings(), &Dialog()) << "the same dialog object lives on";
}

TEST_F(LauncherTest, VpnBoxStartsClearWithoutStoredFlag) {
    EXPECT_FALSE(launcher->Find<CheckBox>(L"CheckBox2").Checked());
}

// Every way of closing runs the close handler once: the dialog is deleted, one quit message is posted, and the launcher
// stays on screen until the loop takes it.
struct CloseWay {
    const char* name;
    void (*close)(LauncherWindow&);
};

class LauncherCloseTest : public LauncherTest, public testing::WithParamInterface<CloseWay> {};

TEST_P(LauncherCloseTest, RunsTheCloseHandlerOnceAndEndsTheLoop) {
    GetParam().close(*launcher);
    EXPECT_EQ(launcher->Settings(), nullptr);
    EXPECT_TRUE(IsWindowVisible(launcher->Handle()));
    EXPECT_EQ(PumpMessages(100), 1);

    // A later close asks for the end again, since a nested loop may have taken the quit message; other input that
    // arrives before the loop ends does not reach the deleted dialog.
    SendMessageW(launcher->Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(PumpMessages(100), 1);
    ClickMenuItem(launcher->Handle(), 0, 0);
    SendMessageW(launcher->Find<Button>(L"Button1").Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(PumpMessages(100), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EveryWay, LauncherCloseTest,
    testing::Values(
        CloseWay{"ExitMenuItem", [](LauncherWindow& f) { ClickMenuItem(f.Handle(), 0, 2); }},
        CloseWay{"CloseGlyph",
                 [](LauncherWindow& f) { SendMessageW(f.Find<BitmapButton>(L"BitBtn1").Handle(), BM_CLICK, 0, 0); }},
        CloseWay{"TitleBarClose", [](LauncherWindow& f) { SendMessageW(f.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); }},
        CloseWay{"AltF4",
                 [](LauncherWindow& f) {
                     SetForegroundWindow(f.Handle());
                     INPUT keys[4] = {};
                     for (INPUT& k : keys) k.type = INPUT_KEYBOARD;
                     keys[0].ki.wVk = VK_MENU;
                     keys[1].ki.wVk = VK_F4;
                     keys[2].ki.wVk = VK_F4;
                     keys[2].ki.dwFlags = KEYEVENTF_KEYUP;
                     keys[3].ki.wVk = VK_MENU;
                     keys[3].ki.dwFlags = KEYEVENTF_KEYUP;
                     SendInput(4, keys, sizeof(INPUT));
                     // The keys reach the window through the queue; a quit message taken on the way is
                     // put back for the check.
                     MSG m;
                     for (int i = 0; i < 40; ++i) {
                         while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
                             if (m.message == WM_QUIT) {
                                 PostQuitMessage(static_cast<int>(m.wParam));
                                 return;
                             }
                             TranslateMessage(&m);
                             DispatchMessageW(&m);
                         }
                         Sleep(5);
                     }
                 }},
        CloseWay{"HiddenApplicationWindow", [](LauncherWindow&) { SendMessageW(App().Handle(), WM_CLOSE, 0, 0); }}),
    [](const testing::TestParamInfo<CloseWay>& info) { return std::string(info.param.name); });
