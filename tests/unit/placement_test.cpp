#include "ui/placement.h"

#include <ostream>

#include <gtest/gtest.h>

namespace {
struct PlacementCase {
    const char* name;
    ScreenRect window;
    ScreenRect work_area;
    ScreenPoint expected;
};
void PrintTo(const PlacementCase& c, std::ostream* out) { *out << c.name; }

// The launcher's frame is about 410 x 180 at its designed place (891, 77).
const PlacementCase kCases[] = {
    {"FitsAndStays", {891, 77, 1301, 257}, {0, 0, 1600, 860}, {891, 77}},
    {"FitsExactlyAndStays", {0, 0, 1280, 680}, {0, 0, 1280, 680}, {0, 0}},
    {"TooFarRightMovesLeft", {891, 77, 1301, 257}, {0, 0, 1280, 680}, {870, 77}},
    {"TooFarDownMovesUp", {100, 600, 510, 780}, {0, 0, 1024, 728}, {100, 548}},
    {"TooFarRightAndDownMovesBoth", {891, 77, 1301, 257}, {0, 0, 1097, 200}, {687, 20}},
    {"LeftOfAndAboveTheWorkAreaMovesIn", {-50, -20, 360, 160}, {0, 40, 1024, 768}, {0, 40}},
    {"LargerThanTheWorkAreaTopLeftWins", {300, 300, 1500, 1200}, {0, 0, 1024, 728}, {0, 0}},
    {"WiderOnlyKeepsItsTop", {891, 77, 2091, 257}, {0, 0, 1024, 728}, {0, 77}},
    {"SecondMonitorOnTheLeftFits", {-1500, 100, -1090, 280}, {-1920, 0, 0, 1040}, {-1500, 100}},
    {"SecondMonitorOnTheLeftTooFarRight", {-300, 100, 110, 280}, {-1920, 0, 0, 1040}, {-410, 100}},
    {"SecondMonitorOnTheLeftTooSmall", {-1000, -200, 200, 800}, {-1024, -100, 0, 668}, {-1024, -100}},
};

class PlaceInsideTest : public testing::TestWithParam<PlacementCase> {};

TEST_P(PlaceInsideTest, KeepsTheSizeAndMovesOnlyAsFarAsItMust) {
    EXPECT_EQ(PlaceInside(GetParam().window, GetParam().work_area), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, PlaceInsideTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<PlacementCase>& info) {
                             return std::string(info.param.name);
                         });
}  // namespace
