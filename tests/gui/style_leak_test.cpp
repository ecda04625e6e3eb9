// Opening and closing the settings dialog many times in the style leaves no GDI or USER objects behind.
#include "app/application.h"
#include "gui_support.h"
#include "launcher/launcher_window.h"
#include "launcher_fixture.h"
#include "settings/settings_dialog.h"
#include "style_support.h"
#include "ui/style/gdi.h"

namespace {

struct ObjectCounts {
    DWORD gdi = 0;
    DWORD user = 0;
    friend bool operator==(const ObjectCounts&, const ObjectCounts&) = default;
};

BOOL CALLBACK CountTree(HWND hwnd, LPARAM count) {
    ++*reinterpret_cast<DWORD*>(count);
    EnumChildWindows(
        hwnd,
        [](HWND, LPARAM c) -> BOOL {
            ++*reinterpret_cast<DWORD*>(c);
            return TRUE;
        },
        count);
    return TRUE;
}

// The process's counts. Where the system does not keep them (Wine answers "not implemented"), the style's own
// live GDI objects and the thread's windows stand in.
ObjectCounts Counts() {
    SetLastError(0);
    ObjectCounts counts{GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
                        GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
    if (counts.gdi != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return counts;
    counts.gdi = static_cast<DWORD>(LiveStyleGdiObjects());
    counts.user = 0;
    EnumThreadWindows(GetCurrentThreadId(), CountTree, reinterpret_cast<LPARAM>(&counts.user));
    return counts;
}

std::ostream& operator<<(std::ostream& out, const ObjectCounts& c) {
    return out << c.gdi << " GDI, " << c.user << " USER";
}

class StyleLeaks : public WithAmakrits {};

TEST_F(StyleLeaks, TwoHundredOpeningsOfTheSettingsDialogLeaveTheCountsWhereTheFirstLeftThem) {
    ScopedLauncher launcher;
    launcher->Show();
    PumpMessages(100);
    SettingsDialog& dialog = *launcher->Settings();
    auto open_and_close = [&] {
        // The timer comes after the dialog has painted: the close goes through the dialog's own loop.
        RunSoon([&] { dialog.Close(); }, 1);
        launcher->OpenSettings();
        PumpMessages(0);
    };

    open_and_close();
    ObjectCounts after_first = Counts();
    EXPECT_GT(after_first.gdi, 0u);
    for (int i = 1; i < 200; ++i) open_and_close();
    EXPECT_EQ(Counts(), after_first);
}

}  // namespace
