#pragma once
// Watches the VPN dials without blocking the window: a wait in the system's thread pool posts a message to the
// launcher when a dial's process ends, and the launcher reads the outcome on its own thread. A dial that has not
// ended after two minutes is no longer watched.
#include "platform/file_handle.h"

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

class DialWatch {
public:
    DialWatch() = default;
    // Stops watching without waiting for the dial or for the wait's callback.
    ~DialWatch() { Stop(); }
    DialWatch(const DialWatch&) = delete;
    DialWatch& operator=(const DialWatch&) = delete;

    // Watches `process`, the dial of `entry`, besides any earlier dial still running. When it ends, or after two
    // minutes, `message` is posted to `window`: wParam the watch's number, lParam 1 when the two minutes ran out.
    // An empty handle (no process to watch) watches nothing.
    void Watch(FileHandle process, std::wstring entry, HWND window, UINT message);

    struct Outcome {
        std::wstring entry;
        DWORD exit_code = 0;
        bool another_dial_watched = false;  // an earlier or later dial is still being watched
    };
    // For the posted message: the outcome when the dial has ended; nothing for a watch already let go or when the
    // two minutes ran out. That watch is over afterwards.
    std::optional<Outcome> Ended(WPARAM number, LPARAM timed_out);

    // Ends every watch; the dials themselves go on, unreported.
    void Stop();

private:
    struct Context;
    static void CALLBACK Fired(void* parameter, BOOLEAN timed_out) noexcept;
    static void Release(Context* context) noexcept;

    std::vector<Context*> watched_;
    WPARAM last_number_ = 0;
};
