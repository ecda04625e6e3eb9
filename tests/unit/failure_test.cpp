#include "platform/failure.h"

#include <gtest/gtest.h>
TEST(FailureTest, KeepsMessageAndInner) {
    auto inner = std::make_shared<Failure>(L"inner");
    Failure outer(L"outer", inner);
    EXPECT_EQ(outer.message(), L"outer");
    ASSERT_NE(outer.inner(), nullptr);
    EXPECT_EQ(outer.inner()->message(), L"inner");
}
