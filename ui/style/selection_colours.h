#pragma once
// How a pixel the edit control drew in the system's selection colours is shown in the style's.
//
// Text is smoothed by blending each colour channel on its own between the background and the text colour; with
// ClearType the three channels of one pixel get different amounts (red near the text, blue near the background
// at a glyph's left edge), which gives the coloured fringes. Each channel is therefore moved on its own: its
// place between the system's selection background and text becomes the same place between the style's.
// No Windows header here: pixels are 0x00RRGGBB, as the style's canvas holds them.
#include "ui/style/data.h"

#include <cstdint>

struct SelectionColours {
    StyleColour system_back;  // what the edit control draws with
    StyleColour system_text;
    StyleColour style_back;  // what the user sees instead
    StyleColour style_text;
};

// The pixel in the style's selection colours, or unchanged when it is not a blend of the system's two.
std::uint32_t RecolourSelectionPixel(std::uint32_t pixel, const SelectionColours& colours);
