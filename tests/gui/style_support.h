#pragma once
// What the style tests share: the style's own data, screen pixels, and the style switched on for one test.
#include "ui/style/style.h"
#include "ui/style/data.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <ostream>

// The style as the executable carries it.
const StyleData& Amakrits();

// A pixel of the screen, where the windows under test are shown.
StyleColour ScreenPixel(POINT screen);
// A pixel of a window's client area.
StyleColour ClientPixel(HWND hwnd, POINT client);
StyleColour SystemColour(int index);

std::ostream& operator<<(std::ostream& out, const StyleColour& colour);

// Switches the style on for a test and back to the standard look after it.
class WithAmakrits : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(UseStyle(L"Amakrits")); }
    void TearDown() override { UseStyle(kStandardStyleName); }
};
