#pragma once
// A window the active style draws. The object sits in a subclass of the window: it sees every message first,
// and dies with the window (at WM_NCDESTROY) or when the style leaves, whichever comes first; if one of its own
// messages is still being handled then (a box from a click, high contrast switched under it), it dies when the
// outermost of them returns.
#include "ui/style/painter.h"

#include <windows.h>
#include <memory>

class StyledWindow {
public:
    explicit StyledWindow(HWND hwnd) : hwnd_(hwnd) {}
    StyledWindow(const StyledWindow&) = delete;
    StyledWindow& operator=(const StyledWindow&) = delete;
    virtual ~StyledWindow() = default;

    HWND Handle() const { return hwnd_; }
    // The window is no longer this object's (the style left, or the window went) while a message of it still runs:
    // nothing more is drawn.
    bool Detached() const { return detached_; }
    virtual LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) = 0;
    // Runs once the subclass is in place, so that what the object changes in the window passes through it.
    virtual void Attached() {}
    // Gives back what the style changed in the window itself, before the subclass goes.
    virtual void Restore() {}

protected:
    LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam) const;
    static StylePainter& Painter();
    // The window's top-level window is disabled, as the launcher is while the settings dialog shows.
    bool RootDisabled() const { return !IsWindowEnabled(GetAncestor(hwnd_, GA_ROOT)); }

private:
    friend class StyledWindowList;
    HWND hwnd_;
    int messages_running_ = 0;  // this object's messages on the stack, nested ones included
    bool detached_ = false;
};

// Subclasses the window with the object; the object is freed with the window.
void AttachStyledWindow(std::unique_ptr<StyledWindow> styled);
// Removes every subclass the style made, each window getting back what the style changed.
void DetachStyledWindows();

// The painter of the active style, owned here; nullptr while none is active.
void SetActivePainter(std::unique_ptr<StylePainter> painter);

// BeginPaint and EndPaint around a scope.
class PaintScope {
public:
    explicit PaintScope(HWND hwnd) : hwnd_(hwnd), dc_(BeginPaint(hwnd, &paint_)) {}
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    ~PaintScope() { EndPaint(hwnd_, &paint_); }
    HDC dc() const { return dc_; }

private:
    HWND hwnd_;
    PAINTSTRUCT paint_{};
    HDC dc_;
};

// Small helpers shared by the painters.
std::wstring ClassNameOf(HWND hwnd);
RECT ClientArea(HWND hwnd);
