// The launcher on screens of other sizes; ctest runs these on a virtual display of the size in the test's name
// (tests/e2e/on_screen.sh), the rest of the end-to-end tests on the rig's 1920 x 1080.
#include "harness.h"

#include <gtest/gtest.h>

namespace {
class LauncherOnScreen : public testing::Test {
protected:
    // The launcher's frame once it shows; the program is closed at the end.
    RECT ShownLauncher() {
        HWND launcher = program_.WaitForWindow(kFormClass, kLauncherCaption, true);
        EXPECT_NE(launcher, nullptr);
        RECT frame{};
        if (launcher) GetWindowRect(launcher, &frame);
        launcher_ = launcher;
        return frame;
    }
    void TearDown() override {
        if (!launcher_) return;
        PostMessageW(launcher_, WM_CLOSE, 0, 0);
        EXPECT_EQ(program_.WaitForExit(), std::optional<DWORD>(0));
    }

    Sandbox sandbox_;
    ProgramProcess program_{sandbox_};
    HWND launcher_ = nullptr;
};

// 150 % of a 1366 x 768 laptop screen, or a small projector: the designed place (891, 77) reaches past the right
// edge, so the launcher moves left and keeps its size.
TEST_F(LauncherOnScreen, At1024x768ShowsWhole) {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1024);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 768);
    RECT frame = ShownLauncher();
    RECT work{};
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_GE(frame.left, work.left);
    EXPECT_GE(frame.top, work.top);
    EXPECT_LE(frame.right, work.right);
    EXPECT_LE(frame.bottom, work.bottom);
    EXPECT_EQ(frame.top, 77) << "only as far as it must: it fits from top to bottom";
    EXPECT_EQ(frame.right, work.right) << "only as far as it must: its right edge meets the screen's";
}

TEST_F(LauncherOnScreen, At1600x900StaysAtItsDesignedPlace) {
    ASSERT_EQ(GetSystemMetrics(SM_CXSCREEN), 1600);
    ASSERT_EQ(GetSystemMetrics(SM_CYSCREEN), 900);
    RECT frame = ShownLauncher();
    EXPECT_EQ(frame.left, 891);
    EXPECT_EQ(frame.top, 77);
}
}  // namespace
