#pragma once
// Shows that a window's work goes on in the background while the window still answers: Windows' indeterminate
// progress on its taskbar button (ITaskbarList3) and the working-in-background pointer (IDC_APPSTARTING) over it.
// Where the taskbar has no such object (Wine may lack it), only the pointer shows.
#include <windows.h>

struct ITaskbarList3;

class BackgroundWork {
public:
    BackgroundWork() = default;
    ~BackgroundWork();
    BackgroundWork(const BackgroundWork&) = delete;
    BackgroundWork& operator=(const BackgroundWork&) = delete;

    // `window` owns the taskbar button and the area the pointer changes over.
    void Begin(HWND window);
    void End();
    bool Running() const { return window_ != nullptr; }

    // The message Windows sends when the window's taskbar button is made again (Explorer restarted).
    static UINT TaskbarButtonCreatedMessage();
    // For that message: the progress, shown again on the new button.
    void TaskbarButtonCreated();

    // For the window's WM_SETCURSOR: sets the pointer and gives true while the work runs and the pointer is over the
    // window's client area or a child's; false leaves it to Windows.
    bool SetPointer(LPARAM hit_and_message) const;

private:
    ITaskbarList3* Taskbar();
    void SetProgress(int state);

    HWND window_ = nullptr;
    ITaskbarList3* taskbar_ = nullptr;  // released in the destructor
    bool taskbar_tried_ = false;
};
