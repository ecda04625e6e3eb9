#pragma once
// Helpers for driving the program's real windows from inside the test process.
#include "ui/window_text.h"

#include <windows.h>
#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

// Processes the thread's messages for a while; returns how many quit messages were taken.
int PumpMessages(int milliseconds = 50);

// Runs `step` from the message loop the next time it pumps (a timer), e.g. while a modal loop runs.
void RunSoon(std::function<void()> step, UINT delay_ms = 30);
// Runs `step` from the message loop once `ready` says so, or after `limit_ms` in any case: for what the screen
// shows only when the X server has caught up, which takes longer on a busy machine.
void RunWhenReady(std::function<bool()> ready, std::function<void()> step, UINT limit_ms = 2000);

// The client areas the layouts give the two forms, which the style must keep.
inline constexpr SIZE kLauncherClientSize{404, 133};
inline constexpr SIZE kSettingsClientSize{312, 258};
// Whether the window's client area is `size`; the size it has where not.
testing::AssertionResult HasClientSize(HWND hwnd, SIZE size);

RECT RectInParent(HWND hwnd);  // the window's rectangle in its parent's client coordinates
std::wstring ClassOf(HWND hwnd);

// Sends a menu item's command as a click on it would: `path` is the index of the item in the bar, then in its popup.
void ClickMenuItem(HWND form, int bar_index, int item_index);

// A message box seen by the watcher.
struct SeenBox {
    std::wstring caption;
    std::wstring text;
    int buttons = 0;
    bool others_disabled = false;  // the watched window was disabled while the box showed
    HWND owner = nullptr;
};

// Watches from another thread for message boxes of this process, records them and presses OK.
class BoxWatcher {
public:
    explicit BoxWatcher(HWND must_be_disabled = nullptr);
    ~BoxWatcher();
    std::vector<SeenBox> Seen();

private:
    void Watch();
    HWND must_be_disabled_;
    std::atomic<bool> stop_{false};
    std::mutex mutex_;
    std::vector<SeenBox> seen_;
    std::vector<HWND> handled_;
    std::thread thread_;
};
