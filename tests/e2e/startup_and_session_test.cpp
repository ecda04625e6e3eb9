// The real program at its edges: Windows ending the session.
#include "harness.h"

#include <fstream>
#include <thread>

#include <gtest/gtest.h>

TEST(ProgramSession, LogOffIsGrantedAndEndsTheProcessWithCodeZero) {
    Sandbox sandbox;
    ProgramProcess program(sandbox);
    ASSERT_NE(program.WaitForWindow(kFormClass, kLauncherCaption, true), nullptr);
    HWND application = program.FindWindowOfClass(kApplicationClass);
    ASSERT_NE(application, nullptr);

    DWORD_PTR granted = 0;
    ASSERT_TRUE(SendMessageTimeoutW(application, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_BLOCK, 5000, &granted));
    EXPECT_EQ(granted, TRUE);
    PostMessageW(application, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF);
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
}
