#include "launcher/tool_watch.h"

#include <atomic>
#include <thread>
#include <utility>

namespace {
constexpr ULONGLONG kWatchedFor = 30000;  // ms
constexpr DWORD kPoll = 50;               // ms between looks at the pipe while the tool runs
constexpr std::size_t kKeptBytes = 64 * 1024;
}  // namespace

// Shared by the launcher and the reading thread; whichever lets go last frees it.
struct ToolWatch::Run {
    FileHandle process;
    FileHandle output;
    HWND window = nullptr;
    UINT message = 0;
    WPARAM number = 0;
    std::string printed;
    DWORD exit_code = 0;
    std::atomic<bool> ended{false};  // set, after the two above, when the tool ended within the time
};

namespace {
// Reads what is in the pipe now, without waiting for more.
void ReadAvailable(HANDLE pipe, std::string& printed) {
    char buffer[4096];
    for (;;) {
        DWORD available = 0;
        if (!PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) || available == 0) return;
        DWORD read = 0;
        if (!ReadFile(pipe, buffer, sizeof buffer < available ? sizeof buffer : available, &read, nullptr) || read == 0)
            return;
        if (printed.size() < kKeptBytes) printed.append(buffer, read);
    }
}

}  // namespace

void ToolWatch::Watch(StartedTool tool, HWND window, UINT message) {
    Stop();
    if (!tool.process) return;
    auto run = std::make_shared<Run>();
    run->process = std::move(tool.process);
    run->output = std::move(tool.output);
    run->window = window;
    run->message = message;
    run->number = ++last_number_;
    current_ = run;
    std::thread([run] {
        const ULONGLONG deadline = GetTickCount64() + kWatchedFor;
        for (;;) {
            if (run->output) ReadAvailable(run->output.get(), run->printed);
            if (WaitForSingleObject(run->process.get(), kPoll) == WAIT_OBJECT_0) {
                if (run->output) ReadAvailable(run->output.get(), run->printed);
                DWORD code = 0;
                if (GetExitCodeProcess(run->process.get(), &code)) {
                    run->exit_code = code;
                    run->ended.store(true, std::memory_order_release);
                }
                break;
            }
            if (GetTickCount64() >= deadline) break;
        }
        PostMessageW(run->window, run->message, run->number, 0);
    }).detach();
}

std::optional<ToolWatch::Outcome> ToolWatch::Ended(WPARAM number) {
    if (!current_ || current_->number != number) return std::nullopt;  // an earlier run, already let go
    const std::shared_ptr<Run> run = std::exchange(current_, nullptr);
    if (!run->ended.load(std::memory_order_acquire)) return std::nullopt;
    return Outcome{run->exit_code, run->printed};
}

void ToolWatch::Stop() { current_.reset(); }
