#include "ui/background_work.h"

#include <windows.h>
#include <objbase.h>
#include <shobjidl.h>

namespace {
// Windows changes the pointer on the next move; this asks the window under it again now.
void RefreshPointer(HWND window) {
    POINT point{};
    if (!GetCursorPos(&point)) return;
    HWND under = WindowFromPoint(point);
    if (!under || GetAncestor(under, GA_ROOT) != window) return;
    const LRESULT hit = SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(point.x, point.y));
    SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}
}  // namespace

BackgroundWork::~BackgroundWork() {
    if (taskbar_) taskbar_->Release();
}

void BackgroundWork::Begin(HWND window) {
    window_ = window;
    SetProgress(TBPF_INDETERMINATE);
    RefreshPointer(window_);
}

void BackgroundWork::End() {
    if (!window_) return;
    SetProgress(TBPF_NOPROGRESS);
    HWND window = window_;
    window_ = nullptr;
    RefreshPointer(window);
}

UINT BackgroundWork::TaskbarButtonCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
    return message;
}

// The old taskbar object spoke to the taskbar that went: a new one is made for the new button.
void BackgroundWork::TaskbarButtonCreated() {
    if (taskbar_) taskbar_->Release();
    taskbar_ = nullptr;
    taskbar_tried_ = false;
    if (window_) SetProgress(TBPF_INDETERMINATE);
}

bool BackgroundWork::SetPointer(LPARAM hit_and_message) const {
    if (!window_ || LOWORD(hit_and_message) != HTCLIENT) return false;
    SetCursor(LoadCursorW(nullptr, IDC_APPSTARTING));
    return true;
}

// Made on first use, on the thread the application started COM on; a taskbar without it is no failure.
ITaskbarList3* BackgroundWork::Taskbar() {
    if (taskbar_tried_) return taskbar_;
    taskbar_tried_ = true;
    ITaskbarList3* taskbar = nullptr;
    if (FAILED(CoCreateInstance(CLSID_TaskbarList, nullptr, CLSCTX_INPROC_SERVER, IID_ITaskbarList3,
                                reinterpret_cast<void**>(&taskbar))) ||
        !taskbar)
        return nullptr;
    if (FAILED(taskbar->HrInit())) {
        taskbar->Release();
        return nullptr;
    }
    taskbar_ = taskbar;
    return taskbar_;
}

void BackgroundWork::SetProgress(int state) {
    if (ITaskbarList3* taskbar = Taskbar()) taskbar->SetProgressState(window_, static_cast<TBPFLAG>(state));
}
