#include "launcher/process_watch.h"

#include "platform/failure.h"
#include "platform/text.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>
#include <utility>

namespace {
constexpr DWORD kPoll = 50;  // ms between looks at the pipe while the tool runs
constexpr std::size_t kKeptBytes = std::size_t{64} * 1024;
constexpr UINT kStoppedExitCode = 1;
constexpr DWORD kEndingWait = 5000;  // ms for an ended tool to be gone
}  // namespace

// Shared by the window's side and the run's thread; whichever lets go last frees it.
struct ProcessWatch::Run {
    StartedTool tool;
    std::wstring subject;
    HWND window = nullptr;
    UINT message = 0;
    WPARAM number = 0;
    std::string printed;
    DWORD exit_code = 0;
    bool stopped = false;
    std::atomic<bool> over{false};  // set, after the three above, once the tool has ended (or been ended)
};

namespace {
// Reads what is in the pipe now, without waiting for more.
void ReadAvailable(HANDLE pipe, std::string& printed) {
    char buffer[4096];
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0) return;
        DWORD read = 0;
        if (!ReadFile(pipe, buffer, std::min<DWORD>(sizeof buffer, available), &read, nullptr) || read == 0) return;
        if (printed.size() < kKeptBytes)
            printed.append(buffer, std::min<std::size_t>(read, kKeptBytes - printed.size()));
    }
}

// On the run's own thread: a tool that prints is read while it runs, so that a full pipe never stops it.
void WatchRun(const std::shared_ptr<ProcessWatch::Run>& run, DWORD time_limit_ms) {
    const HANDLE output = run->tool.output.get();
    const ULONGLONG deadline = GetTickCount64() + time_limit_ms;
    for (;;) {
        if (output) ReadAvailable(output, run->printed);
        const ULONGLONG now = GetTickCount64();
        const DWORD left = now >= deadline ? 0 : static_cast<DWORD>(deadline - now);
        const DWORD wait = output ? std::min(left, kPoll) : left;
        if (WaitForSingleObject(run->tool.process.get(), wait) == WAIT_OBJECT_0) {
            if (output) ReadAvailable(output, run->printed);
            DWORD code = 0;
            if (GetExitCodeProcess(run->tool.process.get(), &code)) {
                run->exit_code = code;
                run->over.store(true, std::memory_order_release);
            }
            break;
        }
        if (left == 0) {
            // Past its time: the process this program started is ended, and the outcome says so.
            if (TerminateProcess(run->tool.process.get(), kStoppedExitCode)) {
                WaitForSingleObject(run->tool.process.get(), kEndingWait);
                run->stopped = true;
                run->over.store(true, std::memory_order_release);
            }
            break;
        }
    }
    PostMessageW(run->window, run->message, run->number, 0);
}
}  // namespace

WPARAM ProcessWatch::Watch(StartedTool tool, std::wstring subject, HWND window, UINT message) {
    if (runs_ == WatchedRuns::LatestOnly) Stop();
    if (!tool.process) return 0;
    auto run = std::make_shared<Run>();
    run->tool = std::move(tool);
    run->subject = std::move(subject);
    run->window = window;
    run->message = message;
    run->number = ++last_number_;
    watched_.push_back(run);
    try {
        std::thread([run, limit = time_limit_ms_] { WatchRun(run, limit); }).detach();
    } catch (const std::system_error& error) {
        watched_.pop_back();
        throw Failure(L"The program cannot wait for the tool it started (Windows could not make a thread: " +
                      AnsiToWide(error.what()) +
                      L"), so how it ends will not be shown. Close some programs, then try again");
    }
    return run->number;
}

std::optional<ProcessWatch::Outcome> ProcessWatch::Ended(WPARAM number) {
    const auto found = std::find_if(watched_.begin(), watched_.end(),
                                    [number](const std::shared_ptr<Run>& run) { return run->number == number; });
    if (found == watched_.end()) return std::nullopt;  // already let go
    const std::shared_ptr<Run> run = *found;
    watched_.erase(found);
    if (!run->over.load(std::memory_order_acquire)) return std::nullopt;
    return Outcome{run->subject, run->exit_code, run->printed, run->stopped};
}

void ProcessWatch::Stop() { watched_.clear(); }
