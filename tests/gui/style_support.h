#pragma once
// What the style tests share: the style's own data, screen pixels, and the style switched on for one test.
#include "ui/style/data.h"
#include "ui/style/style.h"

#include <windows.h>
#include <cstdint>
#include <ostream>
#include <vector>

#include <gtest/gtest.h>

// The style as the executable carries it.
const StyleData& Amakrits();

// A pixel of the screen, where the windows under test are shown.
StyleColour ScreenPixel(POINT screen);
// A pixel of a window's client area.
StyleColour ClientPixel(HWND hwnd, POINT client);
StyleColour SystemColour(int index);

// Wine keeps what a window drew through its device context in the window's own surface until the thread next
// looks for a message, where Windows shows it at once. Looking for one message that never comes (a range without
// WM_PAINT, so no WM_PAINT is made or taken) hands the drawing to the display as it stands.
void ShowDrawingWithoutPainting();

// A rectangle of the screen read in one go; pixels outside it read as black.
class ScreenArea {
public:
    explicit ScreenArea(const RECT& screen);
    // Reads a window's client area.
    static ScreenArea OfClient(HWND hwnd);
    // In coordinates relative to the rectangle's top left.
    StyleColour At(int x, int y) const;
    int width() const { return width_; }
    int height() const { return height_; }

private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

std::ostream& operator<<(std::ostream& out, const StyleColour& colour);

// Switches the style on for a test and back to the standard look after it.
class WithAmakrits : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(UseStyle(L"Amakrits")); }
    void TearDown() override { UseStyle(kStandardStyleName); }
};
