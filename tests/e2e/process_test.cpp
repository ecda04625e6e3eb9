// The real program as a process: it shows its launcher, and every way of closing it from outside ends the
// process with exit code 0.
#include "harness.h"

#include <gtest/gtest.h>

namespace {
struct CloseWay {
    const char* name;
    // Sends the close; false when the window it needs was not there.
    bool (*close)(const ProgramProcess& program, HWND launcher);
};

bool CloseMessageToLauncher(const ProgramProcess&, HWND launcher) { return PostMessageW(launcher, WM_CLOSE, 0, 0); }

// The close glyph: the button without text in the left panel, beside the "VPN" box.
bool CloseGlyph(const ProgramProcess&, HWND launcher) {
    HWND vpn = FindDescendant(launcher, L"Button", L"VPN");
    HWND glyph = vpn ? FindDescendant(GetParent(vpn), L"Button", L"") : nullptr;
    return glyph && Click(glyph);
}

bool CloseMessageToApplicationWindow(const ProgramProcess& program, HWND) {
    HWND application = program.FindWindowOfClass(kApplicationClass);
    return application && PostMessageW(application, WM_CLOSE, 0, 0);
}

class ClosingTheProgram : public testing::TestWithParam<CloseWay> {};

TEST_P(ClosingTheProgram, EndsTheProcessWithCodeZero) {
    Sandbox sandbox;
    ProgramProcess program(sandbox);
    HWND launcher = program.WaitForWindow(kFormClass, kLauncherCaption, true);
    ASSERT_NE(launcher, nullptr) << "the launcher did not show";

    ASSERT_TRUE(GetParam().close(program, launcher));

    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
}

INSTANTIATE_TEST_SUITE_P(EachWay, ClosingTheProgram,
                         testing::Values(CloseWay{"CloseMessageToLauncher", CloseMessageToLauncher},
                                         CloseWay{"CloseGlyph", CloseGlyph},
                                         CloseWay{"CloseMessageToApplicationWindow", CloseMessageToApplicationWindow}),
                         [](const testing::TestParamInfo<CloseWay>& info) { return std::string(info.param.name); });
}  // namespace
