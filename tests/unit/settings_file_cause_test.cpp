#include "settings/settings_file_cause.h"

#include <gtest/gtest.h>

// Windows' error codes by what the user can do: wait for the program that holds the file, reconnect where it
// lives, mend a damaged one; anything else is Windows' refusal.
TEST(SettingsFileCauseTest, PicksTheCauseFromWindowsError) {
    const struct {
        unsigned long error;
        SettingsFileCause cause;
    } cases[] = {
        {32, SettingsFileCause::HeldByAnotherProgram},   // held open without sharing
        {33, SettingsFileCause::HeldByAnotherProgram},   // a range locked
        {391, SettingsFileCause::HeldByAnotherProgram},  // the cloud provider has it in use
        {362, SettingsFileCause::NotOnThisComputer},     // the cloud provider is not running
        {388, SettingsFileCause::NotOnThisComputer},     // offline: the cloud file cannot be fetched
        {389, SettingsFileCause::NotOnThisComputer},     // the cloud operation was unsuccessful
        {426, SettingsFileCause::NotOnThisComputer},     // the cloud provider took too long
        {1920, SettingsFileCause::NotOnThisComputer},    // a placeholder the system cannot reach
        {4350, SettingsFileCause::NotOnThisComputer},    // a file left offline
        {21, SettingsFileCause::NotOnThisComputer},      // a drive not ready
        {53, SettingsFileCause::NotOnThisComputer},      // a network path gone
        {64, SettingsFileCause::NotOnThisComputer},      // a network name deleted
        {1231, SettingsFileCause::NotOnThisComputer},    // the network unreachable
        {0, SettingsFileCause::Damaged},                 // read, and its content failed
        {223, SettingsFileCause::Damaged},               // far too large to be a settings file
        {5, SettingsFileCause::Unreadable},              // access denied, after the wait
        {23, SettingsFileCause::Unreadable},             // a disk error is no reason to delete the file
        {1392, SettingsFileCause::Unreadable},
        {3221225477ul, SettingsFileCause::Unreadable},
    };
    for (const auto& c : cases) EXPECT_EQ(SettingsFileCauseOf(c.error), c.cause) << c.error;
}

// The reason, the file, then the remedy; "delete it" only for a file that was read and found damaged.
TEST(SettingsFileCauseTest, NamesTheRemedyForTheCause) {
    const std::wstring start =
        L"Cannot open file \"C:\\K\\setup_a.ini\". Reason.\r\n\r\nThe settings file is "
        L"\"C:\\K\\setup_a.ini\". ";
    const struct {
        SettingsFileCause cause;
        SettingsFileMoment moment;
        std::wstring remedy;
    } cases[] = {
        {SettingsFileCause::HeldByAnotherProgram, SettingsFileMoment::Startup,
         L"Another program has it open and keeps it from being read: close that program, then start the program "
         L"again."},
        {SettingsFileCause::HeldByAnotherProgram, SettingsFileMoment::Cancel,
         L"Another program has it open and keeps it from being read: close that program, then press \"Cancel\" "
         L"again."},
        {SettingsFileCause::NotOnThisComputer, SettingsFileMoment::Startup,
         L"It is not on this computer right now (it is kept online, or on a drive that is not connected): connect to "
         L"the internet or the drive, then start the program again."},
        {SettingsFileCause::Damaged, SettingsFileMoment::Startup,
         L"Correct that file or delete it: without it the program starts with empty settings."},
        {SettingsFileCause::Damaged, SettingsFileMoment::Cancel,
         L"Correct that file or delete it: without it the program starts with empty settings."},
        {SettingsFileCause::Unreadable, SettingsFileMoment::Startup,
         L"Start the program again; if this box comes back, tell IT what it says."},
        {SettingsFileCause::Unreadable, SettingsFileMoment::Cancel,
         L"Press \"Cancel\" again; if this box comes back, tell IT what it says."},
    };
    for (const auto& c : cases) {
        const std::wstring text = SettingsFileFailureText(L"Cannot open file \"C:\\K\\setup_a.ini\". Reason.",
                                                          L"C:\\K\\setup_a.ini", c.cause, c.moment);
        EXPECT_EQ(text, start + c.remedy);
        EXPECT_EQ(text.find(L"delete") != std::wstring::npos, c.cause == SettingsFileCause::Damaged);
    }
}
