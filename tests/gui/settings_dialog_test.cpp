#include "launcher_fixture.h"
#include "platform/text.h"
#include "tests/support/rdp_template.h"

namespace {
struct DialogPlace {
    const wchar_t* name;
    const wchar_t* parent;
    POINT at;
    SIZE size;  // {0, 0}: a label, which sizes itself to its caption
    const wchar_t* caption;
};

const DialogPlace kDialogPlaces[] = {
    {L"Label1", nullptr, {48, 19}, {0, 0}, L"نام شبکه WIFI"},
    {L"Edit1", nullptr, {130, 11}, {141, 21}, L""},
    {L"Label5", nullptr, {70, 45}, {0, 0}, L"Server IP:"},
    {L"Edit5", nullptr, {130, 42}, {141, 21}, L""},
    {L"Panel1", nullptr, {24, 74}, {265, 127}, L""},
    {L"CheckBox2", L"Panel1", {106, 12}, {143, 17}, L"زمان اتصال VPN استفاده از "},
    {L"Label2", L"Panel1", {32, 43}, {0, 0}, L"نام اتصال VPN"},
    {L"Edit2", L"Panel1", {106, 40}, {141, 21}, L""},
    {L"Label3", L"Panel1", {46, 70}, {0, 0}, L"VPN User:"},
    {L"Edit3", L"Panel1", {106, 67}, {141, 21}, L""},
    {L"Label4", L"Panel1", {28, 99}, {0, 0}, L"VPN password:"},
    {L"Edit4", L"Panel1", {106, 96}, {141, 21}, L""},
    {L"Button1", nullptr, {214, 211}, {75, 28}, L"Save"},
    {L"Button2", nullptr, {24, 211}, {75, 28}, L"Cancel"},
    {L"Memo1", nullptr, {114, 177}, {48, 43}, nullptr},
    {L"Memo2", nullptr, {166, 177}, {48, 43}, nullptr},
};

int Width(const RECT& r) { return r.right - r.left; }
int Height(const RECT& r) { return r.bottom - r.top; }
}  // namespace

using SettingsDialogTest = LauncherTest;

// Start-up makes the dialog's object, with the stored values, but none of its windows: they come when it is
// first opened.
TEST_F(SettingsDialogTest, OpensWithItsCaptionAndClientAreaAndNoWindowBefore) {
    EXPECT_EQ(Dialog().Handle(), nullptr);
    EXPECT_EQ(Dialog().Find<Edit>(L"Edit1").Handle(), nullptr);
    WithDialogShown([&] {
        HWND dialog = Dialog().Handle();
        EXPECT_EQ(WindowText(dialog), L"تنظیمات اتصال");
        EXPECT_TRUE(HasClientSize(dialog, kSettingsClientSize));
        LONG style = GetWindowLongW(dialog, GWL_STYLE);
        EXPECT_FALSE(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME));
        EXPECT_EQ(GetMenu(dialog), nullptr);
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    EXPECT_FALSE(IsWindowVisible(Dialog().Handle()));
}

TEST_F(SettingsDialogTest, ControlsStandWhereTheLayoutPutsThem) {
    WithDialogShown([&] { SendMessageW(Dialog().Handle(), WM_CLOSE, 0, 0); });
    for (const DialogPlace& place : kDialogPlaces) {
        SCOPED_TRACE(testing::Message() << "control " << std::string(place.name, place.name + wcslen(place.name)));
        Control* control = Dialog().FindControl(place.name);
        ASSERT_NE(control, nullptr);
        HWND parent = place.parent ? Dialog().FindControl(place.parent)->Handle() : Dialog().Handle();
        EXPECT_EQ(GetParent(control->Handle()), parent);
        RECT r = RectInParent(control->Handle());
        EXPECT_EQ(r.left, place.at.x);
        EXPECT_EQ(r.top, place.at.y);
        if (place.size.cx) {
            EXPECT_EQ(Width(r), place.size.cx);
            EXPECT_EQ(Height(r), place.size.cy);
        }
        if (place.caption) {
            EXPECT_EQ(WindowText(control->Handle()), place.caption);
        }
    }
    EXPECT_FALSE(GetWindowLongW(Dialog().Find<Edit>(L"Edit4").Handle(), GWL_STYLE) & ES_PASSWORD)
        << "the password shows in clear";
    EXPECT_FALSE(IsWindowVisible(Dialog().Find<Memo>(L"Memo1").Handle()));
    EXPECT_FALSE(IsWindowVisible(Dialog().Find<Memo>(L"Memo2").Handle()));
}

TEST_F(SettingsDialogTest, BothMemosHoldTheTemplate) {
    const std::wstring expected = RdpTemplateText();
    ASSERT_EQ(expected.size(), 1123u);
    EXPECT_EQ(Dialog().Find<Memo>(L"Memo1").Text(), expected);
    EXPECT_EQ(Dialog().Find<Memo>(L"Memo2").Text(), expected);
}

TEST_F(SettingsDialogTest, FocusStartsAtEdit1AndTabLeavesTheServerFieldLast) {
    std::vector<HWND> order;
    WithDialogShown([&] {
        HWND dialog = Dialog().Handle();
        order.push_back(GetFocus());
        for (int i = 0; i < 8; ++i) order.push_back(GetNextDlgTabItem(dialog, order.back(), FALSE));
        SendMessageW(dialog, WM_CLOSE, 0, 0);
    });
    const HWND expected[] = {Dialog().Find<Edit>(L"Edit1").Handle(),         Dialog().Find<Edit>(L"Edit2").Handle(),
                             Dialog().Find<Edit>(L"Edit3").Handle(),         Dialog().Find<Edit>(L"Edit4").Handle(),
                             Dialog().Find<CheckBox>(L"CheckBox2").Handle(), Dialog().Find<Button>(L"Button1").Handle(),
                             Dialog().Find<Button>(L"Button2").Handle(),     Dialog().Find<Edit>(L"Edit5").Handle(),
                             Dialog().Find<Edit>(L"Edit1").Handle()};
    ASSERT_EQ(order.size(), std::size(expected));
    for (size_t i = 0; i < order.size(); ++i) EXPECT_EQ(order[i], expected[i]) << "position " << i;
}

// Screen readers name an edit after the static text just before it among its siblings.
TEST_F(SettingsDialogTest, EachFieldFollowsTheLabelThatNamesIt) {
    WithDialogShown([&] { SendMessageW(Dialog().Handle(), WM_CLOSE, 0, 0); });
    const std::pair<const Label*, const Edit*> pairs[] = {
        {&Dialog().Find<Label>(L"Label1"), &Dialog().Find<Edit>(L"Edit1")},
        {&Dialog().Find<Label>(L"Label5"), &Dialog().Find<Edit>(L"Edit5")},
        {&Dialog().Find<Label>(L"Label2"), &Dialog().Find<Edit>(L"Edit2")},
        {&Dialog().Find<Label>(L"Label3"), &Dialog().Find<Edit>(L"Edit3")},
        {&Dialog().Find<Label>(L"Label4"), &Dialog().Find<Edit>(L"Edit4")}};
    for (const auto& [label, field] : pairs) {
        HWND before = GetWindow(field->Handle(), GW_HWNDPREV);
        wchar_t caption[64] = {};
        GetWindowTextW(before, caption, 64);
        EXPECT_EQ(before, label->Handle()) << "before " << WideToUtf8(field->Name()) << ": " << WideToUtf8(caption);
    }
}

TEST_F(SettingsDialogTest, EnterAndEscapePressNoButton) {
    bool still_shown = false;
    WithDialogShown([&] {
        HWND edit = Dialog().Find<Edit>(L"Edit1").Handle();
        SetFocus(edit);
        PostMessageW(edit, WM_KEYDOWN, VK_RETURN, 0);
        PostMessageW(edit, WM_KEYDOWN, VK_ESCAPE, 0);
        RunSoon(
            [&] {
                still_shown = IsWindowVisible(Dialog().Handle());
                SendMessageW(Dialog().Handle(), WM_CLOSE, 0, 0);
            },
            100);
    });
    EXPECT_TRUE(still_shown);
}

TEST_F(SettingsDialogTest, EveryWayOfClosingReturnsTheCancelResult) {
    const std::function<void(SettingsDialog&)> ways[] = {
        [](SettingsDialog& d) { SendMessageW(d.Find<Button>(L"Button1").Handle(), BM_CLICK, 0, 0); },
        [](SettingsDialog& d) { SendMessageW(d.Find<Button>(L"Button2").Handle(), BM_CLICK, 0, 0); },
        [](SettingsDialog& d) { SendMessageW(d.Handle(), WM_CLOSE, 0, 0); },
        [](SettingsDialog& d) { SendMessageW(d.Handle(), WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto& close : ways) {
        RunSoon([&] { close(Dialog()); });
        EXPECT_EQ(Dialog().ShowModal(), 2);
        EXPECT_FALSE(IsWindowVisible(Dialog().Handle()));
    }
}

TEST_F(SettingsDialogTest, TypedTextsStayWhenClosedFromTheTitleBar) {
    WithDialogShown([&] {
        SendMessageW(Dialog().Find<Edit>(L"Edit1").Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"Office Net"));
        SendMessageW(Dialog().Find<Edit>(L"Edit4").Handle(), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(L"رمز"));
        SendMessageW(Dialog().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    });
    std::wstring seen_edit1, seen_edit4;
    WithDialogShown([&] {
        seen_edit1 = WindowText(Dialog().Find<Edit>(L"Edit1").Handle());
        seen_edit4 = WindowText(Dialog().Find<Edit>(L"Edit4").Handle());
        SendMessageW(Dialog().Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(seen_edit1, L"Office Net");
    EXPECT_EQ(seen_edit4, L"رمز");
}

TEST_F(SettingsDialogTest, FirstShowingIsCentredOnTheLauncherLaterOnesStayWhereLeft) {
    RECT launcher_rect, first{};
    GetWindowRect(launcher->Handle(), &launcher_rect);
    WithDialogShown([&] {
        GetWindowRect(Dialog().Handle(), &first);
        SetWindowPos(Dialog().Handle(), nullptr, 120, 140, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SendMessageW(Dialog().Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(first.left, launcher_rect.left + (Width(launcher_rect) - Width(first)) / 2);
    EXPECT_EQ(first.top, launcher_rect.top + (Height(launcher_rect) - Height(first)) / 2);

    RECT second{};
    WithDialogShown([&] {
        GetWindowRect(Dialog().Handle(), &second);
        SendMessageW(Dialog().Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(second.left, 120);
    EXPECT_EQ(second.top, 140);
}

TEST_F(SettingsDialogTest, CentringNeverPlacesTheDialogAboveOrLeftOfTheDesktop) {
    SetWindowPos(launcher->Handle(), nullptr, -700, -500, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    RECT shown{};
    WithDialogShown([&] {
        GetWindowRect(Dialog().Handle(), &shown);
        SendMessageW(Dialog().Handle(), WM_CLOSE, 0, 0);
    });
    EXPECT_EQ(shown.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
    EXPECT_EQ(shown.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
}
