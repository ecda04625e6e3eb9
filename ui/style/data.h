#pragma once
// A visual style as data: its name, version, colours, font and metrics, read from a small text format.
//
//   # a comment
//   style = "Amakrits"           <- the first line that is not a comment names the style
//   version = "1.0"
//   [colours]
//   window = #121415             <- every colour below must be given, as #RRGGBB
//   [font]
//   name = "Tahoma"
//   [metrics]
//   button.border = 1
//
// No Windows header here: the text comes in as UTF-16, the data goes out as plain values.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

struct StyleColour {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    friend bool operator==(const StyleColour&, const StyleColour&) = default;
};

struct StyleColours {
    StyleColour window;       // form background: near-black
    StyleColour panel;        // panel surface: dark grey
    StyleColour panel_light;  // the raised edge, top and left
    StyleColour panel_dark;   // the raised edge, bottom and right
    StyleColour text;
    StyleColour text_disabled;
    StyleColour accent;  // turquoise: what is highlighted, pressed or focused
    StyleColour frame_active;
    StyleColour frame_inactive;
    StyleColour caption_active;
    StyleColour caption_inactive;
    StyleColour caption_text;
    StyleColour caption_text_inactive;
    StyleColour close_hot;
    StyleColour close_pressed;
    StyleColour close_glyph;
    StyleColour menubar;
    StyleColour menu;
    StyleColour menu_border;
    StyleColour menu_hot;
    StyleColour menu_hot_text;
    StyleColour menu_separator;
    StyleColour button;
    StyleColour button_hot;
    StyleColour button_pressed;
    StyleColour button_pressed_text;
    StyleColour button_border;
    StyleColour field;
    StyleColour field_border;
    StyleColour field_border_focused;
    StyleColour selection;
    StyleColour selection_text;
    StyleColour caret;
    StyleColour check_box;
    StyleColour check_border;
    StyleColour check_tick;
    StyleColour focus;
};

struct StyleFont {
    std::wstring name;
    int height = 0;          // in logical units, negative for the character height
    int caption_weight = 0;  // 400 normal, 700 bold
};

struct StyleMetrics {
    int button_border = 1;
    int field_border = 1;
    int check_size = 13;
    int check_gap = 4;
    int menu_item_height = 20;
    int menu_padding = 8;
    int menu_separator_height = 7;
    int caption_padding = 6;
    int close_glyph = 8;
    int caret_width = 1;
};

struct StyleData {
    std::wstring name;
    std::wstring version;
    StyleColours colours;
    StyleFont font;
    StyleMetrics metrics;
};

// The name a style text declares on its first line that is not a comment; none for any other text.
std::optional<std::wstring> DeclaredStyleName(std::wstring_view text);

// Reads a whole style. Fails with "Style <source>, line N: ..." on malformed text, an unknown key or a missing
// colour.
StyleData ParseStyle(std::wstring_view text, std::wstring_view source);

// The message shown when a looked-up style is not found.
std::wstring StyleNotFoundText(std::wstring_view name);
