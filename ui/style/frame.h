#pragma once
// The frame of a top-level window in the style: border, title bar, caption, close box and menu bar, drawn by the
// program (Wine and Windows would draw their own), while the system keeps its frame metrics, hit-testing,
// dragging and window menu.
#include "ui/style/styled_window.h"

class StyledFrame : public StyledWindow {
public:
    explicit StyledFrame(HWND hwnd);
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void Restore() override;

private:
    struct Geometry {
        RECT window;   // all in window coordinates
        RECT client;
        RECT caption;
        RECT close;
        RECT menu_bar;  // empty without a menu
    };
    Geometry Measure() const;
    POINT ToWindow(POINT screen) const;
    void PaintFrame();
    void SetCloseState(bool hot, bool pressed);

    bool active_;
    bool close_hot_ = false;
    bool close_pressed_ = false;
    bool tracking_close_ = false;  // the close box holds the mouse capture
    bool watching_leave_ = false;
};
