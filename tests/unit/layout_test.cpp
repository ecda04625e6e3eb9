#include "ui/layout.h"

#include "platform/failure.h"

#include <gtest/gtest.h>

TEST(LayoutTest, ReadsNestedObjectsAndRepeatedProperties) {
    LayoutObject form = ParseLayout(
        L"# comment\n"
        L"form Form1\n"
        L"  Caption = \"say \\\"hi\\\" \\\\ there\"\n"
        L"  panel Panel1\n"
        L"    Left = 3\n"
        L"    memo Memo1\n"
        L"      Lines = \"a:b\"\r\n"
        L"      Lines = \"\"\n"
        L"  button Button_AZaz09\n",
        L"T");
    EXPECT_EQ(form.kind, L"form");
    EXPECT_EQ(form.Text(L"Caption"), L"say \"hi\" \\ there");
    ASSERT_EQ(form.children.size(), 2u);
    const LayoutObject& panel = form.children[0];
    EXPECT_EQ(panel.name, L"Panel1");
    EXPECT_EQ(panel.Number(L"Left", L"T"), 3);
    ASSERT_EQ(panel.children.size(), 1u);
    EXPECT_EQ(panel.children[0].LinesText(), L"a:b\r\n\r\n");
    EXPECT_EQ(form.children[1].name, L"Button_AZaz09");
}

TEST(LayoutTest, MalformedTextFailsNamingTheLayoutAndLine) {
    struct Case {
        const wchar_t* text;
        const wchar_t* message;
    };
    const Case cases[] = {
        {L"", L"Layout T, line 1: the layout is empty"},
        {L"form F\n   Left = 1\n", L"Layout T, line 2: indent by two spaces"},
        {L"form F\n      Left = 1\n", L"Layout T, line 2: a property outside an object"},
        {L"form F\n  Caption = \"open\n", L"Layout T, line 2: a quoted value must end with its closing quote"},
        {L"form F\n  Caption = two words\n", L"Layout T, line 2: quote a value that holds spaces or quotes"},
        {L"form F\n  justaword\n", L"Layout T, line 2: expected \"kind Name\" or \"Key = value\""},
        {L"form F\nform G\n", L"Layout T, line 2: a layout holds one form"},
        {L"form F\n  Caption = \"a\\nb\"\n", L"Layout T, line 2: only \\\" and \\\\ may be escaped"},
        {L"form F\n\tLeft = 1\n", L"Layout T, line 2: tabs are not allowed for indenting"},
        {L"form F\n    button B\n", L"Layout T, line 2: indented too deep"},
        {L"form F\n  = 1\n", L"Layout T, line 2: a property needs a name"},
        {L"form F\n  Left =\n", L"Layout T, line 2: a property needs a value"},
        {L"form F\n  button B-1\n", L"Layout T, line 2: expected \"kind Name\""},
        {L"# comment\n\n  \nform F\n  Left = \"a\"b\"\n",  // blank and comment lines count too
         L"Layout T, line 5: a quoted value must end with its closing quote"},
    };
    for (const Case& c : cases) {
        try {
            ParseLayout(c.text, L"T");
            ADD_FAILURE() << "accepted a malformed layout";
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.message(), c.message);
        }
    }
}

TEST(LayoutTest, NumberIsAWholeNumberOrFailsNamingTheLine) {
    EXPECT_EQ(ParseLayout(L"form F\n  Left = -12\n", L"T").Number(L"Left", L"T"), -12);
    for (const wchar_t* value : {L"1.5", L"-", L"\u0133"}) {  // U+0133 would narrow to the digit 3
        const LayoutObject form = ParseLayout(L"form F\n  Left = " + std::wstring(value) + L"\n", L"T");
        try {
            form.Number(L"Left", L"T");
            ADD_FAILURE() << "accepted " << testing::PrintToString(std::wstring(value));
        } catch (const Failure& failure) {
            EXPECT_EQ(failure.message(), L"Layout T, line 2: Left must be a whole number");
        }
    }
}
