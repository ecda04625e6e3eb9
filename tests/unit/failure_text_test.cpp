#include "platform/failure_text.h"

#include <memory>

#include <gtest/gtest.h>

TEST(FailureTextTest, AppendsAFullStopAfterTextsEndingAboveTheFullStop) {
    struct Case {
        std::wstring message;
        std::wstring shown;
    };
    const Case cases[] = {
        {L"Stream write error", L"Stream write error."},
        {L"Error 42", L"Error 42."},
        {L"Retry?", L"Retry?."},
        {L"Reason:", L"Reason:."},
        {L"and/", L"and/."},  // the first code unit above the full stop
        {L"اتصال برقرار نشد", L"اتصال برقرار نشد."},
        {L"Done.", L"Done."},
        {L"Stop!", L"Stop!"},
        {L"a,", L"a,"},
        {L"well -", L"well -"},
        {L"(see log)", L"(see log)"},
        {L"trailing ", L"trailing "},
        {L"", L""},
    };
    for (const Case& c : cases) EXPECT_EQ(FailureBoxText(Failure(c.message)), c.shown);
}

TEST(FailureTextTest, ShowsTheInnermostNonEmptyMessageOfAChain) {
    auto innermost = std::make_shared<Failure>(L"Access denied");
    auto middle = std::make_shared<Failure>(L"middle never shows", innermost);
    EXPECT_EQ(FailureBoxText(Failure(L"outer", middle)), L"Access denied.");

    auto empty_innermost = std::make_shared<Failure>(L"");
    auto between = std::make_shared<Failure>(L"between", empty_innermost);
    EXPECT_EQ(FailureBoxText(Failure(L"Outer text", between)), L"Outer text.");
}
