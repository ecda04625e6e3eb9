#pragma once
// Watches the latest VPN dial without blocking the window: a wait in the system's thread pool posts a message to
// the launcher when the dial's process ends, and the launcher reads the outcome on its own thread. A dial that
// has not ended after two minutes is no longer watched.
#include "platform/file_handle.h"

#include <windows.h>

#include <optional>
#include <string>

class DialWatch {
public:
    DialWatch() = default;
    // Stops watching without waiting for the dial or for the wait's callback.
    ~DialWatch() { Stop(); }
    DialWatch(const DialWatch&) = delete;
    DialWatch& operator=(const DialWatch&) = delete;

    // Watches `process`, the dial of `entry`, in place of any earlier dial. When it ends, or after two minutes,
    // `message` is posted to `window`: wParam the watch's number, lParam 1 when the two minutes ran out.
    // An empty handle (no process to watch) only ends the earlier watch.
    void Watch(FileHandle process, std::wstring entry, HWND window, UINT message);

    struct Outcome {
        std::wstring entry;
        DWORD exit_code = 0;
    };
    // For the posted message: the outcome when it comes from the latest watch and the dial has ended; nothing for
    // an earlier watch or when the two minutes ran out. The latest watch is over afterwards.
    std::optional<Outcome> Ended(WPARAM number, LPARAM timed_out);

    // Ends the watch; the dial itself goes on, unreported.
    void Stop();

private:
    struct Context;
    static void CALLBACK Fired(void* parameter, BOOLEAN timed_out) noexcept;
    static void Release(Context* context) noexcept;

    Context* current_ = nullptr;
    WPARAM last_number_ = 0;
};
