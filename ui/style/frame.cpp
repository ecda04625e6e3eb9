#include "ui/style/frame.h"

#include "ui/rect_size.h"
#include "ui/style/compositor.h"
#include "ui/style/menu.h"
#include "ui/window_text.h"

#include <windowsx.h>

namespace {
// Undocumented messages through which the themed default procedure paints the caption and the frame outside
// WM_NCPAINT (Windows 10 and 11).
constexpr UINT kThemedCaptionPaint = 0x00AE;  // known as WM_NCUAHDRAWCAPTION
constexpr UINT kThemedFramePaint = 0x00AF;    // known as WM_NCUAHDRAWFRAME

// Clears WS_VISIBLE for its lifetime, without a redraw: whatever is painted into the window meanwhile goes nowhere.
class RedrawLock {
public:
    explicit RedrawLock(HWND hwnd) : hwnd_(hwnd), locked_((GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_VISIBLE) != 0) {
        if (locked_) SetWindowLongPtrW(hwnd_, GWL_STYLE, GetWindowLongPtrW(hwnd_, GWL_STYLE) & ~WS_VISIBLE);
    }
    RedrawLock(const RedrawLock&) = delete;
    RedrawLock& operator=(const RedrawLock&) = delete;
    ~RedrawLock() {
        if (locked_) SetWindowLongPtrW(hwnd_, GWL_STYLE, GetWindowLongPtrW(hwnd_, GWL_STYLE) | WS_VISIBLE);
    }

private:
    HWND hwnd_;
    bool locked_;
};
}  // namespace

StyledFrame::StyledFrame(HWND hwnd) : StyledWindow(hwnd), active_(GetActiveWindow() == hwnd) {}

void StyledFrame::Attached() { TakeFrame(); }

void StyledFrame::TakeFrame() {
    SetProgramDrawsFrame(Handle(), true);
    SetSquareCorners(Handle(), true);
    // A window being made is measured and painted when it is shown; one on the screen already, now.
    if (IsWindowVisible(Handle())) ChangeFrame(Handle());
}

void StyledFrame::Restore() {
    if (tracking_close_) ReleaseCapture();
    restoring_ = true;
    SetProgramDrawsFrame(Handle(), false);
    SetSquareCorners(Handle(), false);
    ChangeFrame(Handle());
}

StyledFrame::Geometry StyledFrame::Measure() const {
    HWND hwnd = Handle();
    RECT window_rect{}, client{};
    GetWindowRect(hwnd, &window_rect);
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    OffsetRect(&client, -window_rect.left, -window_rect.top);

    Geometry g{};
    g.window = {0, 0, Width(window_rect), Height(window_rect)};
    g.client = client;
    int border = client.left;
    int caption_bottom = border + GetSystemMetrics(SM_CYCAPTION);
    if (GetMenu(hwnd)) {
        // Down to the client area: its last row is where themed Windows draws a light line under the bar.
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
    p.Text(dc.get(), WindowText(hwnd), text, text_colour,
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

LRESULT StyledFrame::DefaultUnpainted(UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT result;
    {
        RedrawLock lock(Handle());
        result = Default(message, wparam, lparam);
    }
    PaintFrame();
    return result;
}

LRESULT StyledFrame::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    HWND hwnd = Handle();
    if (restoring_) return Default(message, wparam, lparam);
    switch (message) {
        case WM_CREATE: {
            // Styled while it was being made: the compositor hears about it again now that the window exists.
            LRESULT result = Default(message, wparam, lparam);
            TakeFrame();
            return result;
        }
        case WM_NCPAINT:
        case kThemedCaptionPaint:
        case kThemedFramePaint:
            PaintFrame();
            return 0;
        case WM_NCACTIVATE:
            // Visual styles ignore lParam -1 ("do not repaint"): the redraw lock keeps the system's caption off.
            // The return value says whether the change of active window goes ahead: the default's.
            active_ = wparam != FALSE;
            return DefaultUnpainted(message, wparam, -1);
        case WM_SETTEXT:
        case WM_SETICON:
            return DefaultUnpainted(message, wparam, lparam);
        case WM_ENABLE: {
            LRESULT result = Default(message, wparam, lparam);
            PaintFrame();
            // The children dim with their window.
            RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
            return result;
        }
        case kMenuBarBackgroundPaint: {
            // The whole bar, its last row included; the items are drawn after it, each by its owner.
            const auto* paint = reinterpret_cast<const MenuBarPaint*>(lparam);
            RECT bar = Measure().menu_bar;
            if (!paint || !paint->dc || IsRectEmpty(&bar)) break;
            Painter().Fill(paint->dc, bar, Painter().Colours().menubar);
            return TRUE;
        }
        case WM_NCHITTEST: {
            if (!(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_SYSMENU)) break;
            // The close box's hit area is exactly the painted box.
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
            if (wparam != HTCLOSE) break;
            if (!watching_leave_) {
                TRACKMOUSEEVENT track{sizeof track, TME_LEAVE | TME_NONCLIENT, hwnd, 0};
                watching_leave_ = TrackMouseEvent(&track) != FALSE;
            }
            return 0;  // the default procedure would light the system's close button over the painted one
        case WM_NCMOUSELEAVE: {
            bool asked = watching_leave_;
            watching_leave_ = false;
            if (!tracking_close_) SetCloseState(false, false);
            if (asked) return 0;  // likewise: the default would paint the system's close button, unlit
            break;
        }
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
