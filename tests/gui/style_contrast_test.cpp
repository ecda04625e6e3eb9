// The style's colours read by people with low vision: texts stand out from what they are drawn on at least 4.5:1,
// and the borders that show where a field, check box or button is at least 3:1 (WCAG 2.1, 1.4.3 and 1.4.11).
#include "style_support.h"

#include <cmath>

namespace {
double Luminance(const StyleColour& colour) {
    const auto channel = [](std::uint8_t value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel(colour.red) + 0.7152 * channel(colour.green) + 0.0722 * channel(colour.blue);
}

double ContrastRatio(const StyleColour& a, const StyleColour& b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

TEST(StyleContrast, TextsAndTheBordersOfControlsStandOutFromWhatTheyAreDrawnOn) {
    const StyleColours& c = Amakrits().colours;
    const struct {
        const char* what;
        StyleColour foreground, background;
        double least;
    } rows[] = {
        {"text on the window", c.text, c.window, 4.5},
        {"text on a panel", c.text, c.panel, 4.5},
        {"text on a button", c.text, c.button, 4.5},
        {"text on a hot button", c.text, c.button_hot, 4.5},
        {"text in a field", c.text, c.field, 4.5},
        {"text of a menu", c.text, c.menu, 4.5},
        {"text of the menu bar", c.text, c.menubar, 4.5},
        {"text of a hot menu item", c.menu_hot_text, c.menu_hot, 4.5},
        {"text of a pressed button", c.button_pressed_text, c.button_pressed, 4.5},
        {"selected text", c.selection_text, c.selection, 4.5},
        {"caption of the active window", c.caption_text, c.caption_active, 4.5},
        {"caption of an inactive window", c.caption_text_inactive, c.caption_inactive, 4.5},
        {"button border on the window", c.button_border, c.window, 3.0},
        {"button border on a panel", c.button_border, c.panel, 3.0},
        {"button border around its face", c.button_border, c.button, 3.0},
        {"field border on the window", c.field_border, c.window, 3.0},
        {"field border on a panel", c.field_border, c.panel, 3.0},
        {"check box border on a panel", c.check_border, c.panel, 3.0},
        {"check box border on the window", c.check_border, c.window, 3.0},
        {"focused field border on a panel", c.field_border_focused, c.panel, 3.0},
        {"focus on a panel", c.focus, c.panel, 3.0},
        {"caret in a field", c.caret, c.field, 3.0},
    };
    for (const auto& row : rows) EXPECT_GE(ContrastRatio(row.foreground, row.background), row.least) << row.what;
}

// Focus and hover still show: the focused border is not the plain one, nor the hot button the plain one.
TEST(StyleContrast, FocusAndHoverStayVisible) {
    const StyleColours& c = Amakrits().colours;
    EXPECT_GE(ContrastRatio(c.field_border_focused, c.field_border), 1.5);
    EXPECT_GE(ContrastRatio(c.focus, c.button_border), 1.5);
    EXPECT_FALSE(c.button_hot == c.button);
}
}  // namespace
