// Looking the style up by name, and the message and standard look when the name is unknown.
#include "app/application.h"
#include "gui_support.h"
#include "launcher/launcher_window.h"
#include "launcher_fixture.h"
#include "platform/accessibility.h"
#include "settings/settings_dialog.h"
#include "style_support.h"

#include <atomic>
#include <cstdlib>
#include <thread>

namespace {
// Shows the launcher clear of the screen's edges and lets it paint, so that its pixels can be read.
void ShowAndPaint(LauncherWindow& launcher) {
    SetWindowPos(launcher.Handle(), nullptr, 40, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    launcher.Show();
    PumpMessages(150);
}

class StyleLookup : public testing::Test {
protected:
    void TearDown() override { UseStyle(kStandardStyleName); }
};

TEST_F(StyleLookup, NamesMatchInAnyLetterCase) {
    for (const wchar_t* name : {L"Amakrits", L"amakrits", L"AMAKRITS", L"aMaKrItS"}) {
        SCOPED_TRACE(std::string(name, name + wcslen(name)));
        ASSERT_TRUE(UseStyle(kStandardStyleName));
        EXPECT_TRUE(UseStyle(name));
        EXPECT_EQ(ActiveStyleName(), L"Amakrits");
    }
    EXPECT_TRUE(UseStyle(L"WINDOWS")) << "the standard look is loaded from the start";
    EXPECT_EQ(ActiveStyleName(), kStandardStyleName);
}

TEST(StyleData, ResourceDeclaresAmakritsVersionOne) {
    EXPECT_EQ(Amakrits().name, L"Amakrits");
    EXPECT_EQ(Amakrits().version, L"1.0");
    EXPECT_FALSE(Amakrits().font.name.empty());
}

// What the watcher saw of the message window.
struct SeenMessage {
    int windows = 0;  // visible windows titled "Error" in this process
    std::wstring text;
    std::vector<std::wstring> buttons;
    bool centred = false;
    bool closed = false;
};

BOOL CALLBACK FindErrorWindows(HWND hwnd, LPARAM list) {
    DWORD process = 0;
    GetWindowThreadProcessId(hwnd, &process);
    if (process == GetCurrentProcessId() && IsWindowVisible(hwnd) && WindowText(hwnd) == L"Error")
        reinterpret_cast<std::vector<HWND>*>(list)->push_back(hwnd);
    return TRUE;
}

BOOL CALLBACK ReadChild(HWND hwnd, LPARAM seen_pointer) {
    auto* seen = reinterpret_cast<SeenMessage*>(seen_pointer);
    std::wstring kind = ClassOf(hwnd);
    if (_wcsicmp(kind.c_str(), L"Button") == 0) seen->buttons.push_back(WindowText(hwnd));
    if (_wcsicmp(kind.c_str(), L"Static") == 0) seen->text += WindowText(hwnd);
    return TRUE;
}

// From another thread: waits for the message, reads it, then clicks its one button.
SeenMessage WatchAndClose() {
    SeenMessage seen;
    std::vector<HWND> found;
    for (int i = 0; i < 200 && found.empty(); ++i) {
        Sleep(25);
        EnumWindows(FindErrorWindows, reinterpret_cast<LPARAM>(&found));
    }
    if (found.empty()) return seen;
    Sleep(100);
    found.clear();
    EnumWindows(FindErrorWindows, reinterpret_cast<LPARAM>(&found));
    seen.windows = static_cast<int>(found.size());
    HWND message = found.front();
    EnumChildWindows(message, ReadChild, reinterpret_cast<LPARAM>(&seen));
    RECT window{}, work{};
    GetWindowRect(message, &window);
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    seen.centred = std::abs((window.left + window.right) - (work.left + work.right)) <= 1 &&
                   std::abs((window.top + window.bottom) - (work.top + work.bottom)) <= 1;
    HWND close = FindWindowExW(message, nullptr, L"Button", nullptr);
    SendMessageW(close, BM_CLICK, 0, 0);
    for (int i = 0; i < 200 && IsWindowVisible(message); ++i) Sleep(10);
    seen.closed = !IsWindowVisible(message);
    return seen;
}

TEST_F(StyleLookup, UnknownNameShowsTheMessageAndGoesOnInTheStandardLook) {
    ASSERT_TRUE(UseStyle(L"Amakrits"));
    SeenMessage seen;
    std::thread watcher([&] { seen = WatchAndClose(); });
    bool found = UseStyle(L"Kavlo Night");
    watcher.join();

    EXPECT_FALSE(found);
    EXPECT_EQ(seen.windows, 1);
    EXPECT_EQ(seen.text, L"Style 'Kavlo Night' not found");
    EXPECT_EQ(seen.buttons, std::vector<std::wstring>{L"Close"});
    EXPECT_TRUE(seen.centred) << "centred on the screen";
    EXPECT_TRUE(seen.closed);
    EXPECT_EQ(ActiveStyleName(), kStandardStyleName);

    // A window made afterwards has the standard look.
    ScopedLauncher launcher;
    ShowAndPaint(*launcher);
    EXPECT_EQ(ClientPixel(launcher->Find<Panel>(L"Panel1").Handle(), {30, 60}), SystemColour(COLOR_BTNFACE));
}

TEST_F(StyleLookup, LeavingTheStyleGivesOpenWindowsBackTheStandardLook) {
    ASSERT_TRUE(UseStyle(L"Amakrits"));
    ScopedLauncher launcher;
    ShowAndPaint(*launcher);
    HMENU bar = GetMenu(launcher->Handle());
    ASSERT_EQ(ClientPixel(launcher->Find<Panel>(L"Panel1").Handle(), {30, 60}), Amakrits().colours.panel);

    ASSERT_TRUE(UseStyle(kStandardStyleName));
    PumpMessages(150);
    EXPECT_EQ(ClientPixel(launcher->Find<Panel>(L"Panel1").Handle(), {30, 60}), SystemColour(COLOR_BTNFACE));
    MENUITEMINFOW item{};
    item.cbSize = sizeof item;
    item.fMask = MIIM_FTYPE;
    GetMenuItemInfoW(bar, 0, TRUE, &item);
    EXPECT_FALSE(item.fType & MFT_OWNERDRAW) << "menu items are given back their text";
    wchar_t text[16] = {};
    GetMenuStringW(bar, 0, text, 16, MF_BYPOSITION);
    EXPECT_STREQ(text, L"FILE");
}

// Closes every "Error" window of this process it sees, until stopped, and counts them.
class ErrorWindowCounter {
public:
    ErrorWindowCounter()
        : thread_([this] {
              while (!stop_) {
                  std::vector<HWND> found;
                  EnumWindows(FindErrorWindows, reinterpret_cast<LPARAM>(&found));
                  for (HWND hwnd : found) {
                      ++count_;
                      SendMessageW(FindWindowExW(hwnd, nullptr, L"Button", nullptr), BM_CLICK, 0, 0);
                  }
                  Sleep(10);
              }
              done_ = true;
          }) {}
    // A box, once shown, keeps UseStyle waiting until it is closed: stopping afterwards misses none.
    int Stop() {
        stop_ = true;
        while (!done_) PumpMessages(10);  // the watcher reads this thread's windows' texts
        thread_.join();
        return count_;
    }

private:
    std::atomic<bool> stop_{false};
    std::atomic<bool> done_{false};
    std::atomic<int> count_{0};
    std::thread thread_;
};

class HighContrastLookup : public StyleLookup {
protected:
    void TearDown() override {
        SetHighContrastForTests(std::nullopt);
        StyleLookup::TearDown();
    }
};

TEST_F(HighContrastLookup, HighContrastKeepsTheStandardLookWithoutABox) {
    struct Case {
        bool high_contrast;
        bool styled;
    };
    for (const Case& c : {Case{false, true}, Case{true, false}}) {
        SCOPED_TRACE(c.high_contrast ? "high contrast on" : "high contrast off");
        ASSERT_TRUE(UseStyle(kStandardStyleName));
        SetHighContrastForTests(c.high_contrast);
        ScopedLauncher launcher;
        ShowAndPaint(*launcher);

        ErrorWindowCounter boxes;
        EXPECT_EQ(UseStyle(L"Amakrits"), c.styled);
        EXPECT_EQ(boxes.Stop(), 0) << "no box";
        PumpMessages(150);
        EXPECT_EQ(ActiveStyleName(), c.styled ? L"Amakrits" : kStandardStyleName);
        EXPECT_EQ(ClientPixel(launcher->Find<Panel>(L"Panel1").Handle(), {30, 60}),
                  c.styled ? Amakrits().colours.panel : SystemColour(COLOR_BTNFACE));
        EXPECT_EQ(ClientPixel(launcher->Find<Button>(L"Button1").Handle(), {6, 6}) == Amakrits().colours.button,
                  c.styled)
            << "the buttons are the style's only when it is in force";
    }
}

// Turning high contrast on while the program runs hands every window to the standard look at once, in the user's
// colours; turning it off takes them back, each announced as Windows announces it.
TEST_F(HighContrastLookup, SwitchedWhileRunningIsFollowedBothWays) {
    ASSERT_TRUE(UseStyle(L"Amakrits"));
    ScopedLauncher launcher;
    ShowAndPaint(*launcher);
    const struct {
        const char* what;
        bool high_contrast;
        UINT message;
        WPARAM wparam;
    } steps[] = {
        {"turned on", true, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST},
        {"turned off", false, WM_SYSCOLORCHANGE, 0},
        {"turned on again", true, WM_SYSCOLORCHANGE, 0},
        {"turned off again", false, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST},
    };
    ErrorWindowCounter boxes;
    for (const auto& step : steps) {
        SCOPED_TRACE(step.what);
        SetHighContrastForTests(step.high_contrast);
        SendMessageW(App().Handle(), step.message, step.wparam, 0);
        PumpMessages(150);
        EXPECT_EQ(ActiveStyleName(), step.high_contrast ? kStandardStyleName : L"Amakrits");
        EXPECT_EQ(ClientPixel(launcher->Find<Panel>(L"Panel1").Handle(), {30, 60}),
                  step.high_contrast ? SystemColour(COLOR_BTNFACE) : Amakrits().colours.panel);
    }
    SetHighContrastForTests(true);
    SendMessageW(App().Handle(), WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
    PumpMessages(150);
    EXPECT_EQ(ActiveStyleName(), L"Amakrits") << "another setting changes nothing";
    EXPECT_EQ(boxes.Stop(), 0) << "no box";
}

}  // namespace
