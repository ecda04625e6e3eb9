// The watch of a console tool's process, over short real runs of the netsh stand-in: how each run ends, what it
// printed, and which runs count.
#include "launcher/process_watch.h"

#include "gui_support.h"
#include "platform/module_path.h"
#include "platform/shell.h"
#include "tests/support/files_test_support.h"
#include "ui/window.h"

#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {
constexpr UINT kRunEnded = WM_APP + 7;

// A message-only window that notes the run numbers posted to it.
class Receiver : public Window {
public:
    Receiver() { CreateBound(L"KavloTestReceiver", 0, 0, L"", RECT{}, HWND_MESSAGE, nullptr); }
    std::vector<WPARAM> posted;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
        if (message != kRunEnded) return Default(message, wparam, lparam);
        posted.push_back(wparam);
        return 0;
    }
};

// How the stand-in behaves for one run.
struct StandInRun {
    DWORD exit_code = 0;
    std::wstring prints;  // written `repeat` times
    int repeat = 1;
    DWORD takes_ms = 0;
};

struct Expected {
    std::optional<DWORD> exit_code;  // nothing: the run does not count
    std::size_t printed_size = 0;
    std::string printed_start = {};
};

struct Case {
    const char* name;
    WatchedRuns runs;
    DWORD limit_ms;
    std::vector<StandInRun> started;  // one after the other, without waiting
    bool stopped_early;               // Stop() right after the last start
    std::vector<Expected> expected;   // for each run, in the order started
};

const std::wstring kLong(40, L'x');

const Case kCases[] = {
    {"EndsWithZeroPrintingNothing", WatchedRuns::LatestOnly, 10000, {{0, L"", 1, 0}}, false, {{0, 0, ""}}},
    {"EndsNonZeroWithItsWords",
     WatchedRuns::LatestOnly,
     10000,
     {{1, L"There is no profile", 1, 0}},
     false,
     {{1, 19, "There is no profile"}}},
    // 2000 x 40 bytes: more than is kept, and more than a pipe holds, so it must be read while the tool runs.
    {"PrintsMoreThanIsKept",
     WatchedRuns::LatestOnly,
     10000,
     {{3, kLong, 2000, 0}},
     false,
     {{3, 64 * 1024, "xxxxxxxxxx"}}},
    {"OutlivesItsTime", WatchedRuns::LatestOnly, 300, {{0, L"", 1, 3000}}, false, {{std::nullopt, 0, ""}}},
    {"SupersededByALaterRun",
     WatchedRuns::LatestOnly,
     10000,
     {{5, L"", 1, 300}, {6, L"", 1, 0}},
     false,
     {{std::nullopt, 0, ""}, {6, 0, ""}}},
    {"StoppedEarly", WatchedRuns::LatestOnly, 10000, {{0, L"", 1, 300}}, true, {{std::nullopt, 0, ""}}},
    {"EveryRunCounts",
     WatchedRuns::Every,
     10000,
     {{756, L"", 1, 0}, {0, L"", 1, 600}},
     false,
     {{756, 0, ""}, {0, 0, ""}}},
    {"EveryRunStoppedEarly",
     WatchedRuns::Every,
     10000,
     {{1, L"", 1, 300}, {2, L"", 1, 300}},
     true,
     {{std::nullopt, 0, ""}, {std::nullopt, 0, ""}}},
};

class ProcessWatchTest : public testing::TestWithParam<Case> {
protected:
    void SetUp() override { SetEnvironmentVariableW(L"KAVLO_CALLS_LOG", (folder.path() + L"\\calls.log").c_str()); }
    void TearDown() override {
        for (const wchar_t* name : {L"KAVLO_CALLS_LOG", L"KAVLO_FAKE_NETSH_EXIT", L"KAVLO_FAKE_NETSH_PRINT",
                                    L"KAVLO_FAKE_NETSH_REPEAT", L"KAVLO_FAKE_NETSH_MS"})
            SetEnvironmentVariableW(name, nullptr);
    }
    static StartedTool StartStandIn(const StandInRun& run) {
        SetEnvironmentVariableW(L"KAVLO_FAKE_NETSH_EXIT", std::to_wstring(run.exit_code).c_str());
        SetEnvironmentVariableW(L"KAVLO_FAKE_NETSH_PRINT", run.prints.c_str());
        SetEnvironmentVariableW(L"KAVLO_FAKE_NETSH_REPEAT", std::to_wstring(run.repeat).c_str());
        SetEnvironmentVariableW(L"KAVLO_FAKE_NETSH_MS", std::to_wstring(run.takes_ms).c_str());
        const std::wstring program = ExecutableDirectory() + L"netsh.exe";
        return CurrentShell().StartTool(program.c_str(), L"wlan show", true);
    }
    FilesTempFolder folder;
};

TEST_P(ProcessWatchTest, TellsHowEachRunEnded) {
    const Case& c = GetParam();
    Receiver receiver;
    ProcessWatch watch(c.runs, c.limit_ms);
    std::vector<WPARAM> numbers;
    for (const StandInRun& run : c.started) {
        watch.Watch(StartStandIn(run), L"run " + std::to_wstring(numbers.size()), receiver.Handle(), kRunEnded);
        numbers.push_back(numbers.size() + 1);
    }
    if (c.stopped_early) {
        watch.Stop();
        EXPECT_FALSE(watch.Watching());
    } else {
        EXPECT_TRUE(watch.Watching());
    }
    // The runs' threads post when the tools end or their time runs out, superseded or stopped runs too.
    const ULONGLONG deadline = GetTickCount64() + 15000;
    while (receiver.posted.size() < c.started.size() && GetTickCount64() < deadline) PumpMessages(20);
    ASSERT_EQ(receiver.posted.size(), c.started.size());

    std::vector<std::optional<ProcessWatch::Outcome>> outcomes(c.started.size());
    for (WPARAM number : receiver.posted) outcomes[number - 1] = watch.Ended(number);
    for (std::size_t i = 0; i < c.started.size(); ++i) {
        SCOPED_TRACE("run " + std::to_string(i));
        const Expected& expected = c.expected[i];
        ASSERT_EQ(outcomes[i].has_value(), expected.exit_code.has_value());
        if (!outcomes[i]) continue;
        EXPECT_EQ(outcomes[i]->exit_code, *expected.exit_code);
        EXPECT_EQ(outcomes[i]->subject, L"run " + std::to_wstring(i));
        EXPECT_EQ(outcomes[i]->printed.size(), expected.printed_size);
        EXPECT_EQ(outcomes[i]->printed.substr(0, expected.printed_start.size()), expected.printed_start);
    }
    EXPECT_FALSE(watch.Watching()) << "every run is over once its outcome was taken";
}

INSTANTIATE_TEST_SUITE_P(Runs, ProcessWatchTest, testing::ValuesIn(kCases),
                         [](const testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

}  // namespace
