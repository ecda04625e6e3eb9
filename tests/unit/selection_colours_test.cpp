#include "ui/style/selection_colours.h"

#include <gtest/gtest.h>

namespace {
constexpr StyleColour kWindowsBack{0, 120, 215};  // Windows 10's default selection: blue, with white text
constexpr StyleColour kWindowsText{255, 255, 255};
constexpr StyleColour kStyleBack{200, 100, 40};  // spans of -200, +100, +200: every fifth is a whole number
constexpr StyleColour kStyleText{0, 200, 240};

struct PixelCase {
    const char* what;
    std::uint32_t drawn;
    std::uint32_t shown;
};
}  // namespace

TEST(SelectionColoursTest, EachChannelKeepsItsPlaceBetweenBackgroundAndText) {
    const SelectionColours colours{kWindowsBack, kWindowsText, kStyleBack, kStyleText};
    const PixelCase cases[] = {
        {"selection background", 0x0078D7, 0xC86428},
        {"selection text", 0xFFFFFF, 0x00C8F0},
        {"a fifth of text in every channel (grey smoothing)", 0x3393DF, 0xA07850},
        {"glyph's left edge: red near the text, blue at the background", 0xFF93D7, 0x007828},
        {"glyph's right edge: red at the background, blue near the text", 0x00C9FF, 0xC8A0F0},
        {"a level or two beyond the background, from the system's rounding", 0x0076D5, 0xC86428},
        {"three levels beyond: still the selection", 0x0075D4, 0xC86428},
        {"four levels beyond: not the selection", 0x0074D3, 0x0074D3},
        {"the field's own colour", 0x0B0D0E, 0x0B0D0E},
        {"green below the selection background: not the selection", 0xFF64D7, 0xFF64D7},
        {"black", 0x000000, 0x000000},
    };
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(RecolourSelectionPixel(c.drawn, colours), c.shown);
    }
}

TEST(SelectionColoursTest, AChannelTheSystemColoursShareTakesTheOthersShare) {
    // Red is 40 in both system colours: it cannot tell how much text covers the pixel.
    const SelectionColours colours{{40, 120, 200}, {40, 240, 80}, kStyleBack, kStyleText};
    const PixelCase cases[] = {
        {"half text in green and blue", 0x28B48C, 0x64968C},
        {"red away from its one value: not the selection", 0x3CB48C, 0x3CB48C},
    };
    for (const PixelCase& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(RecolourSelectionPixel(c.drawn, colours), c.shown);
    }
    // 24 levels apart a channel tells; 23 apart it takes the others' share.
    const SelectionColours red_tells{{40, 120, 200}, {64, 240, 80}, kStyleBack, kStyleText};
    EXPECT_EQ(RecolourSelectionPixel(0x40B48C, red_tells), 0x00968Cu);
    const SelectionColours red_cannot_tell{{40, 120, 200}, {63, 240, 80}, kStyleBack, kStyleText};
    EXPECT_EQ(RecolourSelectionPixel(0x3FB48C, red_cannot_tell), 0x64968Cu);
    const SelectionColours alike{{50, 50, 50}, {50, 50, 50}, kStyleBack, kStyleText};
    EXPECT_EQ(RecolourSelectionPixel(0x323232, alike), 0x323232u) << "nothing tells the two apart";
}
