#pragma once
// The frame of a top-level window in the style: border, title bar, caption, close box and menu bar, drawn by the
// program (Wine and Windows would draw their own), while the system keeps its frame metrics, hit-testing,
// dragging and window menu. On Windows 10 and 11 the compositor is told to draw none of its own, and what the
// themed default procedure would paint outside WM_NCPAINT is kept off the screen.
#include "ui/style/styled_window.h"

class StyledFrame : public StyledWindow {
public:
    explicit StyledFrame(HWND hwnd);
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void Attached() override;
    void Restore() override;

private:
    struct Geometry {
        RECT window;  // all in window coordinates
        RECT client;
        RECT caption;
        RECT close;
        RECT menu_bar;  // empty without a menu
    };
    Geometry Measure() const;
    POINT ToWindow(POINT screen) const;
    void TakeFrame();
    void PaintFrame();
    void SetCloseState(bool hot, bool pressed);
    // The default procedure with nothing of its painting reaching the screen; the style paints afterwards.
    LRESULT DefaultUnpainted(UINT message, WPARAM wparam, LPARAM lparam);

    bool active_;
    bool close_hot_ = false;
    bool close_pressed_ = false;
    bool tracking_close_ = false;  // the close box holds the mouse capture
    bool watching_leave_ = false;  // the close box asked for WM_NCMOUSELEAVE
    bool restoring_ = false;       // the system paints the frame again
};
