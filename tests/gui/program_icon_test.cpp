// The program's windows show its own icon (taskbar, Alt+Tab, title bar), never the generic one.
#include "app/application.h"
#include "gui_support.h"
#include "launcher/launcher_window.h"
#include "launcher_fixture.h"
#include "settings/settings_dialog.h"
#include "style_support.h"
#include "ui/handles.h"
#include "ui/style/gdi.h"

#include <vector>

#include <gtest/gtest.h>

namespace {
int IconWidth(HICON icon) {
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return 0;
    BITMAP bitmap{};
    GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return bitmap.bmWidth;
}

// The icon drawn on white at the given size, pixel by pixel.
std::vector<std::uint32_t> Picture(HICON icon, int size) {
    HDC screen = GetDC(nullptr);
    std::vector<std::uint32_t> pixels;
    {
        StyleCanvas canvas(screen, size, size);
        RECT all{0, 0, size, size};
        FillRect(canvas.dc(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        DrawIconEx(canvas.dc(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
        GdiFlush();
        pixels.assign(canvas.pixels(), canvas.pixels() + size * size);
    }
    ReleaseDC(nullptr, screen);
    return pixels;
}

struct IconCase {
    const char* which;
    int class_index;
    int size_metric;
};

TEST(ProgramIconTest, TheProgramsWindowClassesCarryItsIconInBothSizes) {
    ScopedLauncher launcher;
    const IconCase cases[] = {
        {"large, for Alt+Tab", GCLP_HICON, SM_CXICON},
        {"small, for the title bar and the taskbar", GCLP_HICONSM, SM_CXSMICON},
    };
    for (const IconCase& c : cases) {
        SCOPED_TRACE(c.which);
        int size = GetSystemMetrics(c.size_metric);
        IconHandle own(static_cast<HICON>(
            LoadImageW(GetModuleHandleW(nullptr), L"MAINICON", IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
        ASSERT_TRUE(own);
        std::vector<std::uint32_t> expected = Picture(own.get(), size);
        ASSERT_NE(expected, Picture(LoadIconW(nullptr, IDI_APPLICATION), size)) << "the two icons tell apart";
        for (HWND hwnd : {launcher->Handle(), App().Handle()}) {
            auto icon = reinterpret_cast<HICON>(GetClassLongPtrW(hwnd, c.class_index));
            ASSERT_NE(icon, nullptr);
            EXPECT_EQ(IconWidth(icon), size);
            EXPECT_EQ(Picture(icon, size), expected);
        }
    }
}
}  // namespace
