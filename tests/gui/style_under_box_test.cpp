// A styled window whose object goes while one of its own messages is still being handled: high contrast turned on
// under a box that the window's click brought up (the style leaves every window), or the window destroyed by its
// own click. The object must outlive the message; ctest's gui_heap_check runs these under Wine's heap checking,
// which reports a write into the freed object.
#include "app/application.h"
#include "gui_support.h"
#include "platform/accessibility.h"
#include "style_support.h"
#include "test_form.h"
#include "ui/form.h"

#include <functional>

#include <gtest/gtest.h>

namespace {
HWND ShownBox() {
    HWND found = nullptr;
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND hwnd, LPARAM result) {
            if (ClassOf(hwnd) != L"#32770" || !IsWindowVisible(hwnd)) return TRUE;
            *reinterpret_cast<HWND*>(result) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

class StyledWindowUnderABox : public WithAmakrits {
protected:
    void TearDown() override {
        SetHighContrastForTests(std::nullopt);
        WithAmakrits::TearDown();
    }
};

TEST_F(StyledWindowUnderABox, HighContrastTurnedOnWhileItsClickShowsABox) {
    TestForm form(App(), [] { throw Failure(L"Cannot open \"Kavlo.rdp\""); });
    form.Show();
    PumpMessages();
    bool left_under_the_box = false;
    // Inside the box's loop: high contrast on, as Windows announces it; the style leaves when the hidden window
    // takes up what it posted, still under the box; then the box is dismissed.
    RunWhenReady([] { return ShownBox() != nullptr; },
                 [&] {
                     SetHighContrastForTests(true);
                     SendMessageW(App().Handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
                     RunSoon([&] {
                         left_under_the_box = ActiveStyleName() == kStandardStyleName;
                         PostMessageW(ShownBox(), WM_COMMAND, IDOK, 0);
                     });
                 });
    SendMessageW(form.FindControl(L"Button1")->Handle(), BM_CLICK, 0, 0);  // returns once the box is gone
    PumpMessages(100);

    EXPECT_TRUE(left_under_the_box) << "the style was still in force while the box showed";
    EXPECT_EQ(ShownBox(), nullptr);
    SendMessageW(form.FindControl(L"Button2")->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form.clicks, 1) << "the form works on in the standard look";
}

TEST_F(StyledWindowUnderABox, DestroyedByItsOwnClick) {
    HWND button = nullptr;
    TestForm form(App(), [&] { DestroyWindow(button); });
    form.Show();
    PumpMessages();
    button = form.FindControl(L"Button1")->Handle();
    SendMessageW(button, BM_CLICK, 0, 0);
    PumpMessages(100);

    EXPECT_FALSE(IsWindow(button));
    SendMessageW(form.FindControl(L"Button2")->Handle(), BM_CLICK, 0, 0);
    EXPECT_EQ(form.clicks, 1);
}
}  // namespace
