#include "launcher/dial_watch.h"

#include <algorithm>
#include <atomic>
#include <utility>

namespace {
constexpr DWORD kWatchedFor = 120000;  // a rasdial waiting on its hidden console for a password never ends

// Who frees a context: the launcher when the wait is cancelled before its callback, otherwise whichever of the
// callback and the launcher's release comes last.
enum : int { kWatching, kCallbackDone, kReleased };
}  // namespace

// Everything the callback touches lives here, on the heap, until both sides are done with it.
struct DialWatch::Context {
    FileHandle process;
    std::wstring entry;
    HWND window = nullptr;
    UINT message = 0;
    WPARAM number = 0;
    HANDLE wait = nullptr;
    std::atomic<int> state{kWatching};
};

void DialWatch::Watch(FileHandle process, std::wstring entry, HWND window, UINT message) {
    if (!process) return;
    auto* context = new Context{std::move(process), std::move(entry), window, message, ++last_number_};
    if (!RegisterWaitForSingleObject(&context->wait, context->process.get(), &DialWatch::Fired, context, kWatchedFor,
                                     WT_EXECUTEONLYONCE)) {
        delete context;  // the dial goes on unwatched, as a dial always did
        return;
    }
    watched_.push_back(context);
}

std::optional<DialWatch::Outcome> DialWatch::Ended(WPARAM number, LPARAM timed_out) {
    const auto found = std::find_if(watched_.begin(), watched_.end(),
                                    [number](const Context* context) { return context->number == number; });
    if (found == watched_.end()) return std::nullopt;  // already let go
    Context* context = *found;
    watched_.erase(found);
    Outcome outcome{context->entry, 0, !watched_.empty()};
    bool ended = !timed_out && GetExitCodeProcess(context->process.get(), &outcome.exit_code);
    Release(context);
    if (!ended) return std::nullopt;
    return outcome;
}

void DialWatch::Stop() {
    for (Context* context : std::exchange(watched_, {})) Release(context);
}

// On the thread pool: only posts, from the context's own copies.
void CALLBACK DialWatch::Fired(void* parameter, BOOLEAN timed_out) noexcept {
    auto* context = static_cast<Context*>(parameter);
    PostMessageW(context->window, context->message, context->number, timed_out ? 1 : 0);
    if (context->state.exchange(kCallbackDone) == kReleased) delete context;
}

// Never waits: the wait is cancelled and, when its callback is already on its way, left to free the context.
void DialWatch::Release(Context* context) noexcept {
    if (UnregisterWaitEx(context->wait, nullptr)) {
        delete context;  // no callback is running or will run
        return;
    }
    // ERROR_IO_PENDING: the callback runs or is about to.
    if (context->state.exchange(kReleased) == kCallbackDone) delete context;
}
