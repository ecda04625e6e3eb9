#include "launcher/start_wait.h"

#include <cctype>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {
using Kind = StartWait::Action::Kind;
using Ms = StartWait::Milliseconds;

constexpr Ms kSecond = StartWait::kLeastWait;
constexpr Ms kMinute = StartWait::kLongestWait;

// One event at a time, each with the action it must give and whether "Start" is taken after it.
struct Step {
    enum class Event { Start, Dial, Ended, Timer, BoxClosed, VpnCleared, Closed, Abandoned };
    Event event;
    Ms at = 0;
    StartWait::DialRun run = 0;
    std::optional<std::uint32_t> exit_code;
    bool others = false;  // Dial: another dial was watched as it began
    StartWait::Action expected;
    bool may_start_after = false;
};

StartWait::Action Nothing() { return {}; }
StartWait::Action Open() { return {Kind::OpenNow}; }
StartWait::Action Timer(Ms after) { return {Kind::SetTimer, after}; }
StartWait::Action Box() { return {Kind::ShowDialFailure}; }

Step Start(StartWait::Action expected, bool may_start_after) {
    return {Step::Event::Start, 0, 0, {}, false, expected, may_start_after};
}
Step Dial(Ms at, StartWait::DialRun run, bool others, StartWait::Action expected) {
    return {Step::Event::Dial, at, run, {}, others, expected, false};
}
Step Ended(Ms at, StartWait::DialRun run, std::optional<std::uint32_t> exit_code, StartWait::Action expected,
           bool may_start_after) {
    return {Step::Event::Ended, at, run, exit_code, false, expected, may_start_after};
}
Step Fired(Ms at, StartWait::Action expected, bool may_start_after) {
    return {Step::Event::Timer, at, 0, {}, false, expected, may_start_after};
}
Step Closed(Ms at, StartWait::DialRun run, StartWait::Action expected, bool may_start_after) {
    return {Step::Event::BoxClosed, at, run, {}, false, expected, may_start_after};
}
Step Event(Step::Event event, bool may_start_after) { return {event, 0, 0, {}, false, {}, may_start_after}; }

struct Row {
    const char* name;
    std::vector<Step> steps;
};

std::ostream& operator<<(std::ostream& out, const Row& row) { return out << row.name; }

const Row kRows[] = {
    // Without the VPN.
    {"no dial opens at once", {Start(Open(), true)}},
    // Idle, a dial begins.
    {"dial arms the least wait", {Dial(0, 1, false, Timer(kSecond))}},
    {"dial not watched waits the second alone", {Dial(0, 0, false, Timer(kSecond)), Fired(kSecond, Open(), true)}},
    // Waiting, the dial running, within the second.
    {"start refused while waiting", {Dial(0, 1, false, Timer(kSecond)), Start(Nothing(), false)}},
    {"dial ended well within the second: the timer opens",
     {Dial(0, 1, false, Timer(kSecond)), Ended(300, 1, 0, Timer(kSecond - 300), false), Fired(kSecond, Open(), true)}},
    {"dial failed within the second: box, then the open at the second",
     {Dial(0, 1, false, Timer(kSecond)), Ended(300, 1, 691, Box(), false), Closed(500, 1, Timer(kSecond - 500), false),
      Fired(kSecond, Open(), true)}},
    {"dial let go within the second counts as ended",
     {Dial(0, 1, false, Timer(kSecond)), Ended(300, 1, std::nullopt, Timer(kSecond - 300), false),
      Fired(kSecond, Open(), true)}},
    {"an early timer only re-arms", {Dial(0, 1, false, Timer(kSecond)), Fired(400, Timer(kSecond - 400), false)}},
    {"vpn cleared ends the wait",
     {Dial(0, 1, false, Timer(kSecond)), Event(Step::Event::VpnCleared, true), Fired(kSecond, Nothing(), true),
      Ended(3000, 1, 691, Nothing(), true)}},
    {"closed ends everything",
     {Dial(0, 1, false, Timer(kSecond)), Event(Step::Event::Closed, false), Fired(kSecond, Nothing(), false),
      Ended(3000, 1, 691, Nothing(), false), Start(Nothing(), false)}},
    {"abandoned wait takes the next start",
     {Dial(0, 1, false, Timer(kSecond)), Event(Step::Event::Abandoned, true), Ended(3000, 1, 691, Box(), false),
      Closed(4000, 1, Nothing(), true)}},
    // Waiting, the dial running, past the second.
    {"past the second the timer waits for the minute",
     {Dial(0, 1, false, Timer(kSecond)), Fired(kSecond, Timer(kMinute - kSecond), false)}},
    {"dial ended well past the second opens at once",
     {Dial(0, 1, false, Timer(kSecond)), Fired(kSecond, Timer(kMinute - kSecond), false),
      Ended(3000, 1, 0, Open(), true)}},
    {"dial failed past the second: the open follows the box",
     {Dial(0, 1, false, Timer(kSecond)), Fired(kSecond, Timer(kMinute - kSecond), false),
      Ended(8000, 1, 691, Box(), false), Closed(9000, 1, Open(), true)}},
    {"a box up past the minute holds the open until it closes",
     {Dial(0, 1, false, Timer(kSecond)), Ended(59000, 1, 868, Box(), false), Fired(kMinute, Nothing(), false),
      Closed(kMinute + 5000, 1, Open(), true)}},
    // The minute.
    {"the minute opens with the dial still running",
     {Dial(0, 1, false, Timer(kSecond)), Fired(kSecond, Timer(kMinute - kSecond), false),
      Fired(kMinute, Open(), true)}},
    {"a dial past the minute is still reported, opening nothing",
     {Dial(0, 1, false, Timer(kSecond)), Fired(kMinute, Open(), true), Ended(kMinute + 9000, 1, 691, Box(), false),
      Closed(kMinute + 9500, 1, Nothing(), true)}},
    {"a dial past the minute that ends well is not reported",
     {Dial(0, 1, false, Timer(kSecond)), Fired(kMinute, Open(), true), Ended(kMinute + 9000, 1, 0, Nothing(), true)}},
    // The box of a dial that is no longer waited for.
    {"start refused while an earlier dial's box is up",
     {Dial(0, 1, false, Timer(kSecond)), Fired(kMinute, Open(), true), Ended(kMinute + 1000, 1, 691, Box(), false),
      Start(Nothing(), false), Closed(kMinute + 2000, 1, Nothing(), true), Start(Open(), true)}},
    {"the old box closing leaves the new wait alone",
     {Dial(0, 1, false, Timer(kSecond)), Ended(500, 1, 691, Box(), false), Event(Step::Event::VpnCleared, false),
      Closed(900, 1, Nothing(), true), Dial(1000, 2, false, Timer(kSecond)),
      Fired(2000, Timer(kMinute - kSecond), false), Ended(9000, 2, 0, Open(), true)}},
    {"a box after vpn cleared opens nothing",
     {Dial(0, 1, false, Timer(kSecond)), Ended(2000, 1, 691, Box(), false), Event(Step::Event::VpnCleared, false),
      Closed(3000, 1, Nothing(), true)}},
    {"a close under the box opens nothing after it",
     {Dial(0, 1, false, Timer(kSecond)), Ended(2000, 1, 691, Box(), false), Event(Step::Event::Closed, false),
      Closed(3000, 1, Nothing(), false)}},
    // A second dial refused as such (756).
    {"756 while another dial was watched at its start is no failure",
     {Dial(0, 1, false, Timer(kSecond)), Fired(kMinute, Open(), true), Dial(kMinute + 100, 2, true, Timer(kSecond)),
      Ended(kMinute + 200, 1, 691, Box(), false), Closed(kMinute + 300, 1, Nothing(), false),
      Ended(kMinute + 400, 2, 756, Timer(kSecond - 300), false), Fired(kMinute + 1100, Open(), true)}},
    {"756 with no other dial at its start is a failure",
     {Dial(0, 1, false, Timer(kSecond)), Ended(200, 1, 756, Box(), false)}},
    {"other failures of a second dial are shown",
     {Dial(0, 1, false, Timer(kSecond)), Fired(kMinute, Open(), true), Dial(kMinute + 100, 2, true, Timer(kSecond)),
      Ended(kMinute + 400, 2, 691, Box(), false)}},
    {"an unknown run changes nothing", {Dial(0, 1, false, Timer(kSecond)), Ended(300, 7, 691, Nothing(), false)}},
};

class StartWaitTable : public testing::TestWithParam<Row> {};

TEST_P(StartWaitTable, GivesEachStepItsAction) {
    StartWait wait;
    int index = 0;
    for (const Step& step : GetParam().steps) {
        SCOPED_TRACE("step " + std::to_string(index++));
        StartWait::Action action;
        switch (step.event) {
            case Step::Event::Start:
                action = wait.Started();
                break;
            case Step::Event::Dial:
                action = wait.DialStarted(step.at, step.run, step.others);
                break;
            case Step::Event::Ended:
                action = wait.DialEnded(step.at, step.run, step.exit_code);
                break;
            case Step::Event::Timer:
                action = wait.TimerFired(step.at);
                break;
            case Step::Event::BoxClosed:
                action = wait.BoxClosed(step.at, step.run);
                break;
            case Step::Event::VpnCleared:
                wait.VpnCleared();
                break;
            case Step::Event::Closed:
                wait.Closed();
                break;
            case Step::Event::Abandoned:
                wait.Abandoned();
                break;
        }
        EXPECT_EQ(static_cast<int>(action.kind), static_cast<int>(step.expected.kind));
        EXPECT_EQ(action.timer, step.expected.timer);
        EXPECT_EQ(wait.MayStart(), step.may_start_after);
    }
}

INSTANTIATE_TEST_SUITE_P(EveryEventInEachState, StartWaitTable, testing::ValuesIn(kRows),
                         [](const testing::TestParamInfo<Row>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c; ++c)
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             return name;
                         });

// The times are the rule's parameters: a wait of other lengths follows them.
TEST(StartWait, FollowsTheTimesItIsGiven) {
    StartWait wait(50, 200);
    EXPECT_EQ(wait.DialStarted(10, 1, false).timer, 50U);
    EXPECT_EQ(wait.TimerFired(60).timer, 150U);
    EXPECT_EQ(wait.TimerFired(210).kind, Kind::OpenNow);
}
}  // namespace
