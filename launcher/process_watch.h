#pragma once
// Watches console tools' processes (rasdial, netsh) without blocking the window: each run has a thread of its own
// that reads what the tool prints, when there is a pipe, until the tool ends or its time runs out, then posts a
// message to the window, which takes the outcome on its own thread. A tool that outlives its time is ended, so that
// one that hangs does not stay behind every press. Letting go of a run never waits for it.
#include "platform/shell.h"

#include <windows.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// Which runs count: every run until it ends (the dials, each of which may fail), or only the latest (a button's
// tool, whose earlier runs an outcome of the latest makes moot).
enum class WatchedRuns { Every, LatestOnly };

class ProcessWatch {
public:
    ProcessWatch(WatchedRuns runs, DWORD time_limit_ms) : runs_(runs), time_limit_ms_(time_limit_ms) {}
    ~ProcessWatch() { Stop(); }
    ProcessWatch(const ProcessWatch&) = delete;
    ProcessWatch& operator=(const ProcessWatch&) = delete;

    // Watches `tool`, the run for `subject` (what the outcome is about: the entry dialled, the network joined).
    // When it ends, or when its time runs out and it has been ended, `message` is posted to `window` with the run's
    // number as wParam. A tool without a process (nothing real was started) is not watched. The run's number; 0 when
    // not watched. When no thread can be had for the watch, the tool runs on unwatched and this is a failure that
    // says so.
    WPARAM Watch(StartedTool tool, std::wstring subject, HWND window, UINT message);

    struct Outcome {
        std::wstring subject;
        DWORD exit_code = 0;
        std::string printed;   // the bytes, as the tool wrote them, up to 64 KiB
        bool stopped = false;  // it outlived its time and was ended; exit_code means nothing then
    };
    // For the posted message: the outcome when the run counts; nothing for a run already let go. The run is over
    // afterwards.
    std::optional<Outcome> Ended(WPARAM number);

    // Whether a run is still being watched.
    bool Watching() const { return !watched_.empty(); }

    // Lets go of every run; the tools themselves go on, unreported (still ended when their time runs out).
    void Stop();

    struct Run;

private:
    WatchedRuns runs_;
    DWORD time_limit_ms_;
    std::vector<std::shared_ptr<Run>> watched_;
    WPARAM last_number_ = 0;
};
