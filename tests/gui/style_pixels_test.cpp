// The style on the screen: every expected colour is read from the style's own data.
#include "app/application.h"
#include "gui_support.h"
#include "launcher/launcher_window.h"
#include "launcher_fixture.h"
#include "platform/accessibility.h"
#include "platform/failure.h"
#include "platform/shell.h"
#include "settings/settings_dialog.h"
#include "style_support.h"
#include "ui/style/gdi.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

// The thread's shown window of that class: "#32768" a drop-down menu, "#32770" a message box.
HWND ShownWindowOfClass(const wchar_t* class_name) {
    struct Search {
        const wchar_t* class_name;
        HWND found = nullptr;
    } search{class_name};
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM lparam) -> BOOL {
            auto* search = reinterpret_cast<Search*>(lparam);
            if (IsWindowVisible(hwnd) && ClassOf(hwnd) == search->class_name) search->found = hwnd;
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Popup() { return ShownWindowOfClass(L"#32768"); }

RECT ScreenRect(HWND hwnd) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    return r;
}

// A point in the title bar clear of the caption text and the close box, and one in the menu bar clear of "FILE".
POINT TitleBarPoint(HWND hwnd) {
    RECT outer = ScreenRect(hwnd);
    return {outer.right - 8 - GetSystemMetrics(SM_CXSIZE) - 8, outer.top + 4};
}

POINT MenuBarPoint(HWND hwnd) {
    POINT client_top{0, 0};
    ClientToScreen(hwnd, &client_top);
    return {ScreenRect(hwnd).right - 80, client_top.y - 4};
}

// The row just above the client area, where themed Windows draws a light line under the menu bar.
POINT MenuBarLastRowPoint(HWND hwnd) {
    POINT client_top{0, 0};
    ClientToScreen(hwnd, &client_top);
    return {ScreenRect(hwnd).right - 80, client_top.y - 1};
}

// Just inside the close box's left edge near its top, clear of its cross.
POINT CloseBoxPoint(HWND hwnd) {
    RECT outer = ScreenRect(hwnd);
    return {outer.right - 8 - GetSystemMetrics(SM_CXSIZE) + 3, outer.top + 6};
}

// A point on a control's frame, in the middle of its top side (labels overlap some fields' left sides).
POINT BorderPoint(HWND hwnd) {
    RECT r = ScreenRect(hwnd);
    return {(r.left + r.right) / 2, r.top};
}

class StylePixels : public WithAmakrits {
protected:
    void SetUp() override {
        WithAmakrits::SetUp();
        made_.emplace();
        launcher = made_->get();
        SetWindowPos(launcher->Handle(), nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        launcher->Show();
        SetForegroundWindow(launcher->Handle());
        PumpMessages(150);
    }
    void TearDown() override {
        SetCursorPos(0, 0);
        made_.reset();
        WithAmakrits::TearDown();
    }
    SettingsDialog& Dialog() const { return *launcher->Settings(); }
    void ShowDialog() const {
        Dialog().Show();  // its windows are made when it is first shown
        SetWindowPos(Dialog().Handle(), nullptr, 520, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        SetForegroundWindow(Dialog().Handle());
        PumpMessages(150);
    }

    const StyleColours& colours = Amakrits().colours;
    std::optional<ScopedLauncher> made_;
    LauncherWindow* launcher = nullptr;
};

struct PixelCase {
    const char* what;
    std::function<POINT(LauncherWindow&)> where;  // on the screen
    StyleColour StyleColours::*expected;
};

const PixelCase kLauncherSurfaces[] = {
    {"title bar", [](LauncherWindow& f) { return TitleBarPoint(f.Handle()); }, &StyleColours::caption_active},
    {"frame line",
     [](LauncherWindow& f) {
         return POINT{ScreenRect(f.Handle()).left, ScreenRect(f.Handle()).top + 40};
     },
     &StyleColours::frame_active},
    {"menu bar", [](LauncherWindow& f) { return MenuBarPoint(f.Handle()); }, &StyleColours::menubar},
    {"background beside the VPN box",
     [](LauncherWindow& f) {
         POINT p{30, 60};
         ClientToScreen(f.Find<Panel>(L"Panel1").Handle(), &p);
         return p;
     },
     &StyleColours::panel},
    {"Start button face",
     [](LauncherWindow& f) {
         POINT p{6, 6};
         ClientToScreen(f.Find<Button>(L"Button1").Handle(), &p);
         return p;
     },
     &StyleColours::button},
    {"Start button border", [](LauncherWindow& f) { return BorderPoint(f.Find<Button>(L"Button1").Handle()); },
     &StyleColours::button_border},
    {"logo margin",
     [](LauncherWindow& f) {
         POINT p{191, 101};
         ClientToScreen(f.Find<Image>(L"Image1").Handle(), &p);
         return p;
     },
     &StyleColours::panel},
};

TEST_F(StylePixels, LauncherSurfacesAreTheStylesDarkColours) {
    for (const PixelCase& c : kLauncherSurfaces) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ScreenPixel(c.where(*launcher)), colours.*c.expected);
    }
}

TEST_F(StylePixels, ClientAreasKeepTheirSizes) {
    EXPECT_TRUE(HasClientSize(launcher->Handle(), kLauncherClientSize));
    ShowDialog();
    EXPECT_TRUE(HasClientSize(Dialog().Handle(), kSettingsClientSize));
}

TEST_F(StylePixels, PressedAndHotButtonsShowTheAccent) {
    HWND start = launcher->Find<Button>(L"Button1").Handle();
    SendMessageW(start, BM_SETSTATE, TRUE, 0);
    PumpMessages();
    EXPECT_EQ(ClientPixel(start, {6, 6}), colours.button_pressed);
    EXPECT_EQ(ScreenPixel(BorderPoint(start)), colours.accent);
    SendMessageW(start, BM_SETSTATE, FALSE, 0);
    PumpMessages();
    EXPECT_EQ(ClientPixel(start, {6, 6}), colours.button);

    POINT middle{70, 60};
    ClientToScreen(start, &middle);
    SetCursorPos(middle.x, middle.y);
    PumpMessages(150);
    EXPECT_EQ(ClientPixel(start, {6, 6}), colours.button_hot);
    EXPECT_EQ(ScreenPixel(BorderPoint(start)), colours.accent);
    SetCursorPos(0, 0);
    PumpMessages(800);  // the system notices the mouse leaving on a timer
    EXPECT_EQ(ClientPixel(start, {6, 6}), colours.button) << "the hot look leaves with the mouse";
}

TEST_F(StylePixels, CheckBoxShowsItsTickOnlyWhenChecked) {
    HWND box = launcher->Find<CheckBox>(L"CheckBox2").Handle();
    RECT client{};
    GetClientRect(box, &client);
    int size = Amakrits().metrics.check_size;
    int top = (client.bottom - size) / 2;
    auto tick_pixels = [&] {
        int count = 0;
        for (int y = top + 1; y < top + size - 1; ++y)
            for (int x = 1; x < size - 1; ++x) count += ClientPixel(box, {x, y}) == colours.check_tick;
        return count;
    };
    SendMessageW(box, BM_SETCHECK, BST_CHECKED, 0);
    PumpMessages();
    EXPECT_GT(tick_pixels(), 0);
    EXPECT_EQ(SendMessageW(box, BM_GETCHECK, 0, 0), BST_CHECKED) << "still a real check box";
    SendMessageW(box, BM_SETCHECK, BST_UNCHECKED, 0);
    PumpMessages();
    EXPECT_EQ(tick_pixels(), 0);
    EXPECT_EQ(ClientPixel(box, {size / 2, top + size / 2}), colours.check_box);
}

TEST_F(StylePixels, SettingsFieldsShowFocusAndSelectionInTheStylesColours) {
    ShowDialog();
    HWND focused = Dialog().Find<Edit>(L"Edit1").Handle();
    HWND other = Dialog().Find<Edit>(L"Edit5").Handle();
    SetFocus(focused);
    SetWindowTextW(other, L"");
    PumpMessages();
    RECT field{};
    GetClientRect(other, &field);
    EXPECT_EQ(ClientPixel(Dialog().Handle(), {4, 4}), colours.window);
    EXPECT_EQ(ClientPixel(other, {field.right - 3, field.bottom / 2}), colours.field);
    EXPECT_EQ(ScreenPixel(BorderPoint(other)), colours.field_border);
    EXPECT_EQ(ScreenPixel(BorderPoint(focused)), colours.field_border_focused);
    EXPECT_EQ(ScreenPixel(TitleBarPoint(Dialog().Handle())), colours.caption_active);

    // Spaces, so the selected run is its background only.
    SetWindowTextW(focused, L"                    ");
    SendMessageW(focused, EM_SETSEL, 0, -1);
    PumpMessages();
    EXPECT_EQ(ClientPixel(focused, {4, field.bottom / 2}), colours.selection);
    wchar_t text[32] = {};
    EXPECT_EQ(GetWindowTextW(focused, text, 32), 20) << "still a real edit field";
}

TEST_F(StylePixels, LauncherDimsWhileTheSettingsDialogIsModal) {
    StyleColour launcher_caption{}, dialog_caption{};
    RunSoon([&] {
        PumpMessages(150);
        launcher_caption = ScreenPixel(TitleBarPoint(launcher->Handle()));
        dialog_caption = ScreenPixel(TitleBarPoint(Dialog().Handle()));
        Dialog().Close();
    });
    ClickMenuItem(launcher->Handle(), 0, 0);
    EXPECT_EQ(launcher_caption, colours.caption_inactive);
    EXPECT_EQ(dialog_caption, colours.caption_active);
    PumpMessages(150);
    EXPECT_EQ(ScreenPixel(TitleBarPoint(launcher->Handle())), colours.caption_active) << "lit again afterwards";
}

TEST_F(StylePixels, DropDownMenuHasTheStylesBackgroundSeparatorAndHotItem) {
    HWND hwnd = launcher->Handle();
    HMENU file = GetSubMenu(GetMenu(hwnd), 0);
    StyleColour border{}, item{}, separator{}, hot{};
    RECT first{}, line{};
    auto sample = [&] {
        HWND popup = Popup();
        if (!popup) return false;
        GetMenuItemRect(hwnd, file, 0, &first);
        GetMenuItemRect(hwnd, file, 1, &line);
        border = ScreenPixel({ScreenRect(popup).left, ScreenRect(popup).top + 5});
        item = ScreenPixel({first.right - 3, (first.top + first.bottom) / 2});
        separator = ScreenPixel({(line.left + line.right) / 2, (line.top + line.bottom) / 2});
        return border == colours.menu_border && item == colours.menu && separator == colours.menu_separator;
    };
    auto sample_hot = [&] {
        hot = ScreenPixel({first.right - 3, (first.top + first.bottom) / 2});
        return hot == colours.menu_hot;
    };
    RunWhenReady(sample, [&] {
        HWND popup = Popup();
        ASSERT_NE(popup, nullptr);
        PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
        RunWhenReady(sample_hot, [] { EndMenu(); });
    });
    POINT at{0, 0};
    ClientToScreen(hwnd, &at);
    TrackPopupMenu(file, TPM_LEFTALIGN | TPM_TOPALIGN, at.x, at.y, 0, hwnd, nullptr);
    EXPECT_EQ(border, colours.menu_border);
    EXPECT_EQ(item, colours.menu);
    EXPECT_EQ(separator, colours.menu_separator);
    EXPECT_EQ(hot, colours.menu_hot);
    wchar_t text[64] = {};
    GetMenuStringW(file, 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"تنظیمات سرور") << "still a real menu item";
}

TEST_F(StylePixels, CloseBoxLightsWhenHotAndPressedAndClosesOnlyWhenReleasedOverIt) {
    HWND hwnd = launcher->Handle();
    POINT title = TitleBarPoint(hwnd);
    POINT in_box = CloseBoxPoint(hwnd);
    LRESULT hit = SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(in_box.x, in_box.y));
    ASSERT_EQ(hit, HTCLOSE);
    EXPECT_EQ(SendMessageW(hwnd, WM_NCHITTEST, 0, MAKELPARAM(title.x, title.y)), HTCAPTION) << "dragging still works";

    SetCursorPos(in_box.x, in_box.y);
    PumpMessages(150);
    EXPECT_EQ(ScreenPixel(in_box), colours.close_hot);
    SendMessageW(hwnd, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(in_box.x, in_box.y));
    PumpMessages();
    EXPECT_EQ(ScreenPixel(in_box), colours.close_pressed);
    EXPECT_EQ(GetCapture(), hwnd);

    SendMessageW(hwnd, WM_LBUTTONUP, 0, MAKELPARAM(10, 60));  // released over the client area: nothing closes
    SetCursorPos(0, 0);
    EXPECT_EQ(PumpMessages(800), 0);
    EXPECT_EQ(ScreenPixel(in_box), colours.caption_active);
    EXPECT_TRUE(IsWindowVisible(hwnd));

    // Released over the box, it closes the window (the dialog here: closing the launcher would end the program).
    ShowDialog();
    HWND dialog = Dialog().Handle();
    POINT dialog_box = CloseBoxPoint(dialog);
    SendMessageW(dialog, WM_NCLBUTTONDOWN, HTCLOSE, MAKELPARAM(dialog_box.x, dialog_box.y));
    ScreenToClient(dialog, &dialog_box);
    SendMessageW(dialog, WM_LBUTTONUP, 0, MAKELPARAM(dialog_box.x, dialog_box.y));
    PumpMessages();
    EXPECT_FALSE(IsWindowVisible(dialog));
}

// What themed Windows sends a frame besides WM_NCPAINT, each of which would paint the system's light caption,
// close button or menu bar. Wine sends none of them, so each case sends its own.
constexpr UINT kThemedCaptionPaint = 0x00AE;
constexpr UINT kThemedFramePaint = 0x00AF;
constexpr UINT kMenuBarBackgroundPaint = 0x0091;
constexpr UINT kMenuBarItemPaint = 0x0092;

// The system's description of a menu bar paint (lParam of the two menu bar messages).
struct MenuBarPaint {
    HMENU menu;
    HDC dc;
    DWORD flags;
};
struct MenuBarItemPaint {
    DRAWITEMSTRUCT item;
    MenuBarPaint bar;
    int position;
    BYTE metrics[52];
};

// A picture of the whole window in memory, white until someone paints it.
struct WindowCanvas {
    explicit WindowCanvas(HWND hwnd)
        : outer(ScreenRect(hwnd)), canvas(nullptr, outer.right - outer.left, outer.bottom - outer.top) {
        PatBlt(canvas.dc(), 0, 0, canvas.width(), canvas.height(), WHITENESS);
    }
    StyleColour At(POINT screen) const {
        std::uint32_t p = canvas.pixels()[(screen.y - outer.top) * canvas.width() + (screen.x - outer.left)];
        return {static_cast<std::uint8_t>(p >> 16), static_cast<std::uint8_t>(p >> 8), static_cast<std::uint8_t>(p)};
    }
    RECT outer;
    StyleCanvas canvas;
};

// Runs from inside the menu loop that `enter` starts: the steps one after another, then the loop ends.
void InMenuLoop(const std::function<void()>& enter, std::vector<std::function<void()>> steps) {
    auto next = std::make_shared<std::function<void(size_t)>>();
    *next = [next, steps = std::move(steps)](size_t i) {
        if (i == steps.size()) {
            EndMenu();
            return;
        }
        steps[i]();
        RunSoon([next, i] { (*next)(i + 1); }, 150);
    };
    RunSoon([next] { (*next)(0); }, 150);
    enter();
}

struct FrameCase {
    const char* what;
    // Brings the launcher into the case's state and calls `check` while the state holds.
    std::function<void(HWND, const std::function<void()>& check)> drive;
    StyleColour StyleColours::*caption;
    StyleColour StyleColours::*close_box;
};

const FrameCase kThemedFrameMessages[] = {
    {"WM_SETTEXT",
     [](HWND hwnd, auto& check) {
         std::wstring caption = WindowText(hwnd);
         SendMessageW(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(caption.c_str()));
         check();
     },
     &StyleColours::caption_active, &StyleColours::caption_active},
    {"WM_SETICON",
     [](HWND hwnd, auto& check) {
         LRESULT icon = SendMessageW(hwnd, WM_GETICON, ICON_SMALL, 0);
         SendMessageW(hwnd, WM_SETICON, ICON_SMALL, icon);
         check();
     },
     &StyleColours::caption_active, &StyleColours::caption_active},
    {"themed caption paint (0x00AE)",
     [](HWND hwnd, auto& check) {
         SendMessageW(hwnd, kThemedCaptionPaint, 0, 0);
         check();
     },
     &StyleColours::caption_active, &StyleColours::caption_active},
    {"themed frame paint (0x00AF)",
     [](HWND hwnd, auto& check) {
         SendMessageW(hwnd, kThemedFramePaint, 0, 0);
         check();
     },
     &StyleColours::caption_active, &StyleColours::caption_active},
    {"WM_NCACTIVATE, inactive",
     [](HWND hwnd, auto& check) {
         EXPECT_EQ(SendMessageW(hwnd, WM_NCACTIVATE, FALSE, 0), TRUE) << "the change of active window goes ahead";
         check();
     },
     &StyleColours::caption_inactive, &StyleColours::caption_inactive},
    {"WM_NCACTIVATE, active",
     [](HWND hwnd, auto& check) {
         SendMessageW(hwnd, WM_NCACTIVATE, TRUE, 0);
         check();
     },
     &StyleColours::caption_active, &StyleColours::caption_active},
    {"the mouse over the close box",
     [](HWND hwnd, auto& check) {
         POINT box = CloseBoxPoint(hwnd);
         SetCursorPos(box.x, box.y);
         SendMessageW(hwnd, WM_NCMOUSEMOVE, HTCLOSE, MAKELPARAM(box.x, box.y));
         check();
     },
     &StyleColours::caption_active, &StyleColours::close_hot},
    {"the mouse leaving the close box",
     [](HWND hwnd, auto& check) {
         SetCursorPos(0, 0);
         SendMessageW(hwnd, WM_NCMOUSELEAVE, 0, 0);
         check();
     },
     &StyleColours::caption_active, &StyleColours::caption_active},
    {"the menu bar entered from the keyboard (Alt, F10), \"FILE\" opened, then closed",
     [](HWND hwnd, auto& check) {
         InMenuLoop([hwnd] { SendMessageW(hwnd, WM_SYSCOMMAND, SC_KEYMENU, 0); },
                    {[&check] {
                         SCOPED_TRACE("the bar selected");
                         check();
                     },
                     [hwnd] { PostMessageW(hwnd, WM_KEYDOWN, VK_DOWN, 0); },
                     [&check] {
                         SCOPED_TRACE("\"FILE\" open");
                         EXPECT_NE(Popup(), nullptr);
                         check();
                     }});
         SCOPED_TRACE("\"FILE\" closed");
         check();
     },
     &StyleColours::caption_active, &StyleColours::caption_active},
    {"menu bar background paint (0x0091) into a memory DC",
     [](HWND hwnd, auto& check) {
         WindowCanvas picture(hwnd);
         MenuBarPaint paint{GetMenu(hwnd), picture.canvas.dc(), 0};
         EXPECT_EQ(SendMessageW(hwnd, kMenuBarBackgroundPaint, 0, reinterpret_cast<LPARAM>(&paint)), TRUE);
         GdiFlush();
         const StyleColour& menubar = Amakrits().colours.menubar;
         EXPECT_EQ(picture.At(MenuBarPoint(hwnd)), menubar);
         EXPECT_EQ(picture.At(MenuBarLastRowPoint(hwnd)), menubar);
         POINT left_end{0, 0};
         ClientToScreen(hwnd, &left_end);
         EXPECT_EQ(picture.At({left_end.x, left_end.y - 4}), menubar);
         check();
     },
     &StyleColours::caption_active, &StyleColours::caption_active},
    {"menu bar item paint (0x0092) into a memory DC",
     [](HWND hwnd, auto& check) {
         WindowCanvas picture(hwnd);
         MenuBarItemPaint paint{};
         RECT file{};
         GetMenuItemRect(hwnd, GetMenu(hwnd), 0, &file);
         paint.item.CtlType = ODT_MENU;
         paint.item.itemAction = ODA_DRAWENTIRE;
         paint.item.hDC = picture.canvas.dc();
         paint.item.rcItem = file;
         OffsetRect(&paint.item.rcItem, -picture.outer.left, -picture.outer.top);
         paint.bar = {GetMenu(hwnd), picture.canvas.dc(), 0};
         paint.position = 0;
         SendMessageW(hwnd, kMenuBarItemPaint, 0, reinterpret_cast<LPARAM>(&paint));
         GdiFlush();
         EXPECT_EQ(picture.At({file.right - 2, file.top + 2}), Amakrits().colours.menubar);
         check();
     },
     &StyleColours::caption_active, &StyleColours::caption_active},
};

TEST_F(StylePixels, FrameKeepsTheStylesColoursThroughWhatThemedWindowsSends) {
    HWND hwnd = launcher->Handle();
    for (const FrameCase& c : kThemedFrameMessages) {
        SCOPED_TRACE(c.what);
        c.drive(hwnd, [&] {
            PumpMessages();
            EXPECT_EQ(ScreenPixel(TitleBarPoint(hwnd)), colours.*c.caption) << "title bar";
            EXPECT_EQ(ScreenPixel(CloseBoxPoint(hwnd)), colours.*c.close_box) << "close box";
            EXPECT_EQ(ScreenPixel(MenuBarPoint(hwnd)), colours.menubar) << "menu bar";
            EXPECT_EQ(ScreenPixel(MenuBarLastRowPoint(hwnd)), colours.menubar) << "menu bar's last row";
        });
    }
    EXPECT_TRUE(IsWindowVisible(hwnd));
    wchar_t text[64] = {};
    GetMenuStringW(GetMenu(hwnd), 0, text, 64, MF_BYPOSITION);
    EXPECT_STREQ(text, L"FILE") << "still a real menu bar";
}

// A menu bar item under the mouse is lit as the drop-down's item under the mouse is, whichever of the two messages
// Windows draws it with.
TEST_F(StylePixels, TheMenuBarItemUnderTheMouseIsLit) {
    HWND hwnd = launcher->Handle();
    HMENU bar = GetMenu(hwnd);
    MENUITEMINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_DATA | MIIM_ID;
    ASSERT_TRUE(GetMenuItemInfoW(bar, 0, TRUE, &info));
    const struct {
        const char* what;
        UINT message;
        UINT state;
        StyleColour StyleColours::*expected;
    } rows[] = {
        {"WM_DRAWITEM, plain", WM_DRAWITEM, 0, &StyleColours::menubar},
        {"WM_DRAWITEM, under the mouse", WM_DRAWITEM, ODS_HOTLIGHT, &StyleColours::menu_hot},
        {"WM_DRAWITEM, open", WM_DRAWITEM, ODS_SELECTED, &StyleColours::menu_hot},
        {"0x0092, under the mouse", kMenuBarItemPaint, ODS_HOTLIGHT, &StyleColours::menu_hot},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        WindowCanvas picture(hwnd);
        RECT file{};
        GetMenuItemRect(hwnd, bar, 0, &file);
        MenuBarItemPaint paint{};
        paint.item.CtlType = ODT_MENU;
        paint.item.itemID = info.wID;
        paint.item.itemAction = ODA_DRAWENTIRE;
        paint.item.itemState = row.state;
        paint.item.hwndItem = reinterpret_cast<HWND>(bar);
        paint.item.hDC = picture.canvas.dc();
        paint.item.rcItem = file;
        paint.item.itemData = info.dwItemData;
        OffsetRect(&paint.item.rcItem, -picture.outer.left, -picture.outer.top);
        paint.bar = {bar, picture.canvas.dc(), 0};
        paint.position = 0;
        const LPARAM argument =
            row.message == WM_DRAWITEM ? reinterpret_cast<LPARAM>(&paint.item) : reinterpret_cast<LPARAM>(&paint);
        SendMessageW(hwnd, row.message, 0, argument);
        GdiFlush();
        EXPECT_EQ(picture.At({file.right - 2, file.top + 2}), colours.*row.expected);
    }
}

// --- edits: what the user sees while selecting, before any WM_PAINT

POINT CharacterAt(HWND edit, int index) {
    LRESULT at = SendMessageW(edit, EM_POSFROMCHAR, index, 0);
    return {static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
}

int LineHeightOf(HWND edit) {
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(edit, WM_GETFONT, 0, 0)));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    return metrics.tmHeight;
}

// Within a level or three of the way from one colour to the other, in every channel: a smoothed pixel of text
// in the one colour on the other.
bool OnTheWay(const StyleColour& c, const StyleColour& from, const StyleColour& to) {
    auto within = [](int v, int a, int b) { return v >= std::min(a, b) - 3 && v <= std::max(a, b) + 3; };
    return within(c.red, from.red, to.red) && within(c.green, from.green, to.green) &&
           within(c.blue, from.blue, to.blue);
}

// Holds Shift down for this thread, as it is while the user presses Shift+arrows.
class ShiftHeld {
public:
    ShiftHeld() {
        GetKeyboardState(saved_);
        BYTE keys[256];
        std::copy(std::begin(saved_), std::end(saved_), keys);
        keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
        SetKeyboardState(keys);
    }
    ~ShiftHeld() { SetKeyboardState(saved_); }

private:
    BYTE saved_[256] = {};
};

struct Selecting {
    const char* how;
    std::function<void(HWND edit)> select;
    DWORD start, end;
};

const Selecting kSelections[] = {
    {"Shift+Right five times",
     [](HWND edit) {
         ShiftHeld shift;
         for (int i = 0; i < 5; ++i) SendMessageW(edit, WM_KEYDOWN, VK_RIGHT, 1);
     },
     0, 5},
    {"dragging the mouse from the sixth character to the thirteenth",
     [](HWND edit) {
         int middle = CharacterAt(edit, 0).y + LineHeightOf(edit) / 2;
         POINT from = CharacterAt(edit, 6), to = CharacterAt(edit, 13);
         SendMessageW(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, middle));
         SendMessageW(edit, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM((from.x + to.x) / 2, middle));
         SendMessageW(edit, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, middle));
         SendMessageW(edit, WM_LBUTTONUP, 0, MAKELPARAM(to.x, middle));
     },
     6, 13},
};

// The caret is never thinner than the width the user chose in Windows' settings.
TEST_F(StylePixels, TheCaretIsAsWideAsTheUserAsks) {
    ShowDialog();
    HWND edit = Dialog().Find<Edit>(L"Edit1").Handle();
    for (int width : {1, 3}) {
        SCOPED_TRACE(width);
        SetCaretWidthForTests(width);
        SetFocus(Dialog().Find<Edit>(L"Edit2").Handle());
        SetFocus(edit);
        PumpMessages();
        GUITHREADINFO state{};
        state.cbSize = sizeof state;
        ASSERT_TRUE(GetGUIThreadInfo(GetCurrentThreadId(), &state));
        EXPECT_EQ(state.hwndCaret, edit);
        EXPECT_EQ(state.rcCaret.right - state.rcCaret.left, width);
    }
    SetCaretWidthForTests(std::nullopt);
}

TEST_F(StylePixels, SelectingTextShowsTheStylesSelectionAtOnce) {
    ShowDialog();
    HWND edit = Dialog().Find<Edit>(L"Edit1").Handle();
    const StyleColour system_highlight = SystemColour(COLOR_HIGHLIGHT);
    for (const Selecting& c : kSelections) {
        SCOPED_TRACE(c.how);
        SetFocus(edit);
        SetWindowTextW(edit, L"Kavlo Connect Kavlo");
        SendMessageW(edit, EM_SETSEL, 0, 0);
        PumpMessages();

        c.select(edit);  // read straight after: no WM_PAINT comes in between
        ShowDrawingWithoutPainting();
        DWORD start = 0, end = 0;
        SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(start, c.start) << "a real selection";
        EXPECT_EQ(end, c.end);

        ScreenArea field = ScreenArea::OfClient(edit);
        POINT left = CharacterAt(edit, c.start), right = CharacterAt(edit, c.end);
        int background = 0, text = 0, foreign = 0;
        for (int y = left.y; y < left.y + LineHeightOf(edit); ++y)
            for (int x = left.x; x < right.x; ++x) {
                StyleColour pixel = field.At(x, y);
                background += pixel == colours.selection;
                text += pixel == colours.selection_text;
                foreign += !OnTheWay(pixel, colours.selection, colours.selection_text);
            }
        EXPECT_GT(background, 0) << "the selection shows in the style's colour";
        EXPECT_GT(text, 0) << "its text shows in the style's selection text colour";
        EXPECT_EQ(foreign, 0) << "nothing else inside the selection";
        int system = 0;
        for (int y = 0; y < field.height(); ++y)
            for (int x = 0; x < field.width(); ++x) system += field.At(x, y) == system_highlight;
        EXPECT_EQ(system, 0) << "no pixel of the system's selection colour anywhere in the field";
    }
}

// --- the system's message box, as the failure box shows it

HWND ShownSystemBox() { return ShownWindowOfClass(L"#32770"); }

// Once a system box shows (looked for every 50 ms, for two seconds from 200 ms on), runs `look` on it and presses
// its OK. `look` must live until then.
void WhenSystemBoxShows(const std::function<void(HWND)>& look) {
    auto poll = std::make_shared<std::function<void(int)>>();
    std::weak_ptr<std::function<void(int)>> self = poll;  // the waiting timer holds it, not the function itself
    *poll = [&look, self](int tries_left) {
        HWND box = ShownSystemBox();
        if (!box && tries_left > 0) {
            auto again = self.lock();
            return RunSoon([again, tries_left] { (*again)(tries_left - 1); }, 50);
        }
        if (!box) return;
        look(box);
        SendMessageW(box, WM_COMMAND, IDOK, 0);
    };
    RunSoon([poll] { (*poll)(40); }, 200);
}

// True when some pixel of the window's client area is not the colour: something is drawn there.
bool ShowsSomethingOn(HWND hwnd, const StyleColour& surface) {
    ScreenArea area = ScreenArea::OfClient(hwnd);
    for (int y = 0; y < area.height(); ++y)
        for (int x = 0; x < area.width(); ++x)
            if (!(area.At(x, y) == surface)) return true;
    return false;
}

TEST_F(StylePixels, FailureBoxIsTheStylesColourDownToItsBottomEdge) {
    struct Seen {
        bool shown = false;
        StyleColour top, bottom_left, bottom_right;
        bool icon = false, text = false;
    } seen;
    const std::function<void(HWND)> look = [&](HWND box) {
        seen.shown = true;
        RECT client{};
        GetClientRect(box, &client);
        seen.top = ClientPixel(box, {3, 3});
        seen.bottom_left = ClientPixel(box, {3, client.bottom - 3});  // the strip behind the buttons
        seen.bottom_right = ClientPixel(box, {client.right - 3, client.bottom - 3});
        for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if (ClassOf(child) != L"Static" && ClassOf(child) != L"STATIC") continue;
            bool icon = (GetWindowLongPtrW(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
            (icon ? seen.icon : seen.text) |= ShowsSomethingOn(child, colours.window);
        }
    };
    WhenSystemBoxShows(look);
    App().ShowFailure(Failure(L"Server unreachable"));
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.top, colours.window);
    EXPECT_EQ(seen.bottom_left, colours.window) << "no light strip behind the button";
    EXPECT_EQ(seen.bottom_right, colours.window);
    EXPECT_TRUE(seen.icon) << "the stop icon still shows";
    EXPECT_TRUE(seen.text) << "the text still shows";
}

// Every command fails, as when the shell cannot start anything: the launcher's handler shows the failure box.
class RefusingShell final : public Shell {
public:
    RefusingShell() { SetShellForTests(this); }
    ~RefusingShell() override { SetShellForTests(nullptr); }
    DWORD ExecuteW(HWND, const wchar_t*, const wchar_t*, const wchar_t*, const wchar_t*, int) override {
        throw Failure(L"Refused");
    }
    StartedTool StartTool(const wchar_t*, const wchar_t*, bool) override { throw Failure(L"Refused"); }
    StartedTool StartToolA(const char*, const char*) override { throw Failure(L"Refused"); }
};

// A click sends the button a run of messages inside one another, each drawn by the system's look; the style's look
// is painted over them once, before the handler runs and not after each. So it is there while the handler's box
// is up (when the button has also lost the focus to the box), and after the click.
TEST_F(StylePixels, AClickedButtonKeepsTheStylesLookWhileItsHandlersBoxIsUpAndAfter) {
    RefusingShell shell;
    HWND button = launcher->Find<Button>(L"Button3").Handle();  // "CONNECT WiFi"
    struct Seen {
        bool shown = false;
        StyleColour face, border;
    } seen;
    const std::function<void(HWND)> look = [&](HWND) {
        seen.shown = true;
        seen.face = ClientPixel(button, {6, 6});
        seen.border = ScreenPixel(BorderPoint(button));
    };
    WhenSystemBoxShows(look);
    SendMessageW(button, BM_CLICK, 0, 0);
    ASSERT_TRUE(seen.shown);
    EXPECT_EQ(seen.face, colours.button);
    EXPECT_EQ(seen.border, colours.button_border) << "the box has the focus: no accent";
    PumpMessages(150);
    EXPECT_EQ(ClientPixel(button, {6, 6}), colours.button);
    const StyleColour border = ScreenPixel(BorderPoint(button));
    EXPECT_TRUE(border == colours.accent || border == colours.button_border) << "the style's border, focused or not";
}

}  // namespace
