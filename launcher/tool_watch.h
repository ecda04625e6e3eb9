#pragma once
// Watches the latest run of a console tool (netsh) without blocking the window: a thread of its own reads what the
// tool prints until it ends, 30 seconds at most, then posts a message to the launcher, which takes the outcome on
// its own thread. Letting go of a run never waits for it.
#include "platform/shell.h"

#include <windows.h>

#include <memory>
#include <optional>
#include <string>

class ToolWatch {
public:
    ToolWatch() = default;
    ~ToolWatch() { Stop(); }
    ToolWatch(const ToolWatch&) = delete;
    ToolWatch& operator=(const ToolWatch&) = delete;

    // Watches `tool` in place of any earlier run; when it ends, or after 30 seconds, `message` is posted to
    // `window` with the run's number as wParam. A tool without a process (nothing real started) is not watched.
    void Watch(StartedTool tool, HWND window, UINT message);

    struct Outcome {
        DWORD exit_code = 0;
        std::string printed;  // the bytes, as the tool wrote them
    };
    // For the posted message: the outcome when it comes from the latest run and that run has ended; nothing for an
    // earlier run or one that ran past the 30 seconds. The run is over afterwards.
    std::optional<Outcome> Ended(WPARAM number);

    // Lets go of the latest run; the tool itself goes on, unreported.
    void Stop();

private:
    struct Run;
    std::shared_ptr<Run> current_;
    WPARAM last_number_ = 0;
};
