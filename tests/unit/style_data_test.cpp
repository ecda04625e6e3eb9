// The style text format: what it accepts, and how it names what it rejects.
#include "platform/failure.h"
#include "ui/style/data.h"

#include <string>

#include <gtest/gtest.h>

namespace {

// The smallest complete style: every colour, black unless a case changes it.
std::wstring Minimal(std::wstring extra_top = L"", std::wstring extra_colours = L"") {
    std::wstring text =
        L"style = \"Test\"\nversion = \"2.1\"\n" + extra_top + L"[font]\nname = \"Tahoma\"\nheight = -11\n[colours]\n";
    for (const wchar_t* key : {L"window",
                               L"panel",
                               L"panel.light",
                               L"panel.dark",
                               L"text",
                               L"text.disabled",
                               L"accent",
                               L"frame.active",
                               L"frame.inactive",
                               L"caption.active",
                               L"caption.inactive",
                               L"caption.text",
                               L"caption.text.inactive",
                               L"close.hot",
                               L"close.pressed",
                               L"close.glyph",
                               L"menubar",
                               L"menu",
                               L"menu.border",
                               L"menu.hot",
                               L"menu.hot.text",
                               L"menu.separator",
                               L"button",
                               L"button.hot",
                               L"button.pressed",
                               L"button.pressed.text",
                               L"button.border",
                               L"field",
                               L"field.border",
                               L"field.border.focused",
                               L"selection",
                               L"selection.text",
                               L"caret",
                               L"check.box",
                               L"check.border",
                               L"check.tick",
                               L"focus"})
        if (extra_colours.find(std::wstring(L"\n") + key + L" =") == std::wstring::npos)
            text += std::wstring(key) + L" = #000000\n";
    return text + extra_colours;
}

TEST(StyleText, ReadsNameVersionColoursFontAndMetrics) {
    StyleData style =
        ParseStyle(L"# comment\n" + Minimal(L"", L"\naccent = #1fC8b6\n") + L"[metrics]\ncheck.size = 15\n", L"TEST");
    EXPECT_EQ(style.name, L"Test");
    EXPECT_EQ(style.version, L"2.1");
    EXPECT_EQ(style.font.name, L"Tahoma");
    EXPECT_EQ(style.font.height, -11);
    EXPECT_EQ(style.colours.accent, (StyleColour{0x1F, 0xC8, 0xB6}));
    EXPECT_EQ(style.metrics.check_size, 15);
}

struct Rejected {
    const char* what;
    std::wstring text;
    std::wstring message;
};

TEST(StyleText, RejectsMalformedTextNamingTheLine) {
    const Rejected cases[] = {
        {"no style line", L"version = \"1.0\"\n", L"Style T, line 1: a style starts with style = \"Name\""},
        {"bad colour", Minimal(L"", L"\nfocus = #12345\n"), L"line 44: focus must be a colour written #RRGGBB"},
        {"unknown colour", Minimal(L"", L"\nglow = #123456\n"), L"line 45: unknown key glow"},
        {"unknown section", Minimal(L"[sounds]\n"), L"line 3: unknown section [sounds]"},
        {"twice", Minimal(L"", L"\nfocus = #000000\nfocus = #000000\n"), L"line 45: focus is given twice"},
        {"missing colour",
         L"style = \"T\"\nversion = \"1\"\n[font]\nname = \"A\"\nheight = 1\n[colours]\nwindow = #000000\n",
         L"the colour panel is missing"},
        {"not a number", Minimal(L"", L"\n[metrics]\ncheck.size = big\n"),
         L"line 46: check.size must be a whole number"},
        {"unquoted text", L"style = \"T\"\nversion = 1.0\n", L"line 2: version must be a quoted text"},
    };
    for (const Rejected& c : cases) {
        SCOPED_TRACE(c.what);
        try {
            ParseStyle(c.text, L"T");
            ADD_FAILURE() << "accepted";
        } catch (const Failure& failure) {
            EXPECT_NE(failure.message().find(c.message), std::wstring::npos)
                << std::string(failure.message().begin(), failure.message().end());
        }
    }
}

TEST(StyleText, DeclaredNameIsTheFirstMeaningfulLinesOnly) {
    const std::pair<std::wstring, std::optional<std::wstring>> cases[] = {
        {L"\xFEFF# a style\n\nstyle = \"Amakrits\"\n", L"Amakrits"},
        {L"style=\"Dusk\"\r\nversion = \"1\"", L"Dusk"},
        {L"form Launcher\n  Caption = \"x\"\n", std::nullopt},
        {L"version = \"1\"\nstyle = \"Late\"\n", std::nullopt},
        {L"style = Amakrits\n", std::nullopt},
        {L"", std::nullopt},
    };
    for (const auto& [text, name] : cases) EXPECT_EQ(DeclaredStyleName(text), name);
}

TEST(StyleText, NotFoundMessageNamesTheStyle) {
    EXPECT_EQ(StyleNotFoundText(L"Amakrits"), L"Style 'Amakrits' not found");
}

}  // namespace
