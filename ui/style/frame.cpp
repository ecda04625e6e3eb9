#include "ui/style/frame.h"

#include "ui/style/menu.h"

#include <windowsx.h>

StyledFrame::StyledFrame(HWND hwnd) : StyledWindow(hwnd), active_(GetActiveWindow() == hwnd) {}

void StyledFrame::Restore() {
    if (tracking_close_) ReleaseCapture();
}

StyledFrame::Geometry StyledFrame::Measure() const {
    HWND hwnd = Handle();
    RECT window_rect{}, client{};
    GetWindowRect(hwnd, &window_rect);
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window_rect.left, -window_rect.top);

    Geometry g{};
    g.window = {0, 0, window_rect.right - window_rect.left, window_rect.bottom - window_rect.top};
    g.client = client;
    int border = client.left;
    int caption_bottom = border + GetSystemMetrics(SM_CYCAPTION);
    if (GetMenu(hwnd)) {
        g.menu_bar = {border, caption_bottom, g.window.right - border, client.top};
    } else {
        caption_bottom = client.top;
    }
    g.caption = {border, border, g.window.right - border, caption_bottom};
    int box_height = caption_bottom - border - 4;
    int box_width = GetSystemMetrics(SM_CXSIZE);
    g.close = {g.caption.right - 2 - box_width, border + 2, g.caption.right - 2, border + 2 + box_height};
    return g;
}

POINT StyledFrame::ToWindow(POINT screen) const {
    RECT window_rect{};
    GetWindowRect(Handle(), &window_rect);
    return {screen.x - window_rect.left, screen.y - window_rect.top};
}

void StyledFrame::PaintFrame() {
    HWND hwnd = Handle();
    if (!IsWindowVisible(hwnd) || IsIconic(hwnd)) return;
    StylePainter& p = Painter();
    const StyleColours& c = p.Colours();
    Geometry g = Measure();
    WholeWindowDC dc(hwnd);
    if (!dc.get()) return;
    ExcludeClipRect(dc.get(), g.client.left, g.client.top, g.client.right, g.client.bottom);

    bool enabled = IsWindowEnabled(hwnd) != FALSE;
    bool lit = active_ && enabled;
    const StyleColour& caption = lit ? c.caption_active : c.caption_inactive;
    // The border is the caption's colour with a one-pixel line around it: turquoise while the window is active.
    p.Frame(dc.get(), g.window, caption, g.caption.left);
    p.Frame(dc.get(), g.window, lit ? c.frame_active : c.frame_inactive);
    p.Fill(dc.get(), g.caption, caption);

    RECT text = g.caption;
    text.left += p.Metrics().caption_padding;
    text.right = g.close.left - p.Metrics().caption_padding;
    const StyleColour& text_colour = !enabled ? c.text_disabled : active_ ? c.caption_text : c.caption_text_inactive;
    p.Text(dc.get(), CaptionOf(hwnd), text, text_colour,
           DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX, p.CaptionFont());

    if (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_SYSMENU) {
        if (close_pressed_)
            p.Fill(dc.get(), g.close, c.close_pressed);
        else if (close_hot_)
            p.Fill(dc.get(), g.close, c.close_hot);
        p.Cross(dc.get(), g.close, p.Metrics().close_glyph, enabled ? c.close_glyph : c.text_disabled);
    }
    if (!IsRectEmpty(&g.menu_bar)) PaintMenuBar(hwnd, dc.get(), g.menu_bar, p);
}

void StyledFrame::SetCloseState(bool hot, bool pressed) {
    if (hot == close_hot_ && pressed == close_pressed_) return;
    close_hot_ = hot;
    close_pressed_ = pressed;
    PaintFrame();
}

LRESULT StyledFrame::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    HWND hwnd = Handle();
    switch (message) {
        case WM_NCPAINT:
            PaintFrame();
            return 0;
        case WM_NCACTIVATE: {
            active_ = wparam != FALSE;
            LRESULT result = Default(message, wparam, -1);  // -1: the system draws nothing
            PaintFrame();
            return result;
        }
        case WM_SETTEXT:
        case WM_ENABLE: {
            LRESULT result = Default(message, wparam, lparam);
            PaintFrame();
            if (message == WM_ENABLE)  // the children dim with their window
                RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            return result;
        }
        case WM_NCHITTEST: {
            if (!(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_SYSMENU)) break;
            POINT at = ToWindow({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
            RECT close = Measure().close;
            if (PtInRect(&close, at)) return HTCLOSE;
            LRESULT hit = Default(message, wparam, lparam);
            // The system's own buttons sit elsewhere: outside the drawn close box the title bar is title bar.
            if (hit == HTCLOSE || hit == HTMINBUTTON || hit == HTMAXBUTTON || hit == HTHELP) return HTCAPTION;
            return hit;
        }
        case WM_NCMOUSEMOVE:
            SetCloseState(wparam == HTCLOSE, close_pressed_);
            if (wparam == HTCLOSE && !watching_leave_) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, hwnd, 0};
                watching_leave_ = TrackMouseEvent(&track) != FALSE;
            }
            break;
        case WM_NCMOUSELEAVE:
            watching_leave_ = false;
            if (!tracking_close_) SetCloseState(false, false);
            break;
        case WM_NCLBUTTONDOWN:
        case WM_NCLBUTTONDBLCLK:
            if (wparam != HTCLOSE) break;
            tracking_close_ = true;
            SetCapture(hwnd);
            SetCloseState(true, true);
            return 0;
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP: {
            if (!tracking_close_) break;
            POINT at{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
            ClientToScreen(hwnd, &at);
            POINT screen = at;
            at = ToWindow(at);
            RECT close = Measure().close;
            bool inside = PtInRect(&close, at) != FALSE;
            if (message == WM_MOUSEMOVE) {
                SetCloseState(inside, inside);
                return 0;
            }
            tracking_close_ = false;
            ReleaseCapture();
            SetCloseState(inside, false);
            if (inside) SendMessageW(hwnd, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(screen.x, screen.y));
            return 0;
        }
        case WM_CAPTURECHANGED:
            if (tracking_close_) {
                tracking_close_ = false;
                SetCloseState(false, false);
            }
            break;
    }
    return Default(message, wparam, lparam);
}
