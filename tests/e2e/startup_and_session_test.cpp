// The real program at its edges: a settings file it cannot restore, and Windows ending the session.
#include "harness.h"

#include <gtest/gtest.h>

#include <fstream>
#include <thread>

TEST(ProgramStart, ABadSettingsFileShowsOneBoxNoWindowAndEndsWithCodeZero) {
    Sandbox sandbox;
    std::ofstream(sandbox.Folder() / "setup_a.ini", std::ios::binary)
        << "\xEF\xBB\xBF[Main]\r\nVersion=2\r\n\r\n[CheckBox2: TcxPropertiesStoreComponent]\r\n=\r\nChecked=1\r\n";
    ProgramProcess program(sandbox);

    ASSERT_NE(program.WaitForMessageBox(), nullptr);
    std::vector<HWND> boxes = program.MessageBoxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(MessageBoxText(boxes[0]), L"Invalid property element: 1.");
    EXPECT_EQ(TextOf(boxes[0]), L"Kavlo_connect") << "the title is the caption";
    EXPECT_EQ(program.WaitForWindow(kFormClass, kLauncherCaption, true, std::chrono::milliseconds(200)), nullptr)
        << "no window shows before the box";

    PostMessageW(boxes[0], WM_COMMAND, IDOK, 0);
    EXPECT_EQ(program.WaitForExit(), std::optional<DWORD>(0));
}

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
