#include "ui/style/controls.h"

#include "platform/accessibility.h"
#include "ui/rect_size.h"
#include "ui/style/selection_colours.h"
#include "ui/window_text.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace {
bool IsEditClass(HWND hwnd) {
    return CompareStringOrdinal(ClassNameOf(hwnd).c_str(), -1, L"Edit", -1, TRUE) == CSTR_EQUAL;
}

HFONT FontOf(HWND hwnd) { return reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)); }

// Messages after which a button has drawn itself in the system's look and must be drawn again.
bool RedrawsButton(UINT message) {
    switch (message) {
        case WM_SETFOCUS:
        case WM_KILLFOCUS:
        case WM_ENABLE:
        case WM_SETTEXT:
        case WM_SETFONT:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_CAPTURECHANGED:
        case WM_UPDATEUISTATE:
        case BM_SETSTATE:
        case BM_SETCHECK:
        case BM_SETSTYLE:
        case BM_SETIMAGE:
        case BM_CLICK:
            return true;
    }
    return false;
}

StyleColour FromColorRef(COLORREF c) { return {GetRValue(c), GetGValue(c), GetBValue(c)}; }

// Whether the window has the focus and shows it: Windows hides focus cues until the user uses the keyboard
// (UISF_HIDEFOCUS), and tells the controls when that changes (WM_UPDATEUISTATE, after which they are painted again).
bool ShowsFocus(HWND hwnd) {
    return GetFocus() == hwnd && !(SendMessageW(hwnd, WM_QUERYUISTATE, 0, 0) & UISF_HIDEFOCUS);
}

// Messages after which an edit may have drawn its text or selection straight to the screen, in the system's
// selection colours: typing, deleting, pasting, moving the selection with keys or the mouse, scrolling. (Focus,
// font and enabling also change the border and caret, and are painted where those are.)
bool RedrawsEdit(HWND hwnd, UINT message) {
    switch (message) {
        case WM_KEYDOWN:
        case WM_KEYUP:
        case WM_SYSKEYDOWN:
        case WM_CHAR:
        case WM_SYSCHAR:
        case WM_IME_CHAR:
        case WM_IME_COMPOSITION:
        case WM_IME_ENDCOMPOSITION:
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_LBUTTONUP:
        case WM_CAPTURECHANGED:
        case WM_CONTEXTMENU:
        case WM_SETTEXT:
        case WM_PASTE:
        case WM_CUT:
        case WM_CLEAR:
        case WM_UNDO:
        case EM_UNDO:
        case EM_SETSEL:
        case EM_REPLACESEL:
        case EM_SCROLL:
        case EM_LINESCROLL:
        case EM_SCROLLCARET:
        case WM_HSCROLL:
        case WM_VSCROLL:
        case WM_MOUSEWHEEL:
            return true;
        case WM_MOUSEMOVE:
        case WM_TIMER:  // the edit scrolls on a timer while the mouse drags past its side
            return GetCapture() == hwnd;
    }
    return false;
}

// Where the edit's selection shows, line by line, in client coordinates. Only there are pixels recoloured: the
// field's own light text would otherwise pass for a blend of the system's blue and white.
std::vector<RECT> SelectedAreas(HWND hwnd, DWORD start, DWORD end, int line_height) {
    std::vector<RECT> areas;
    RECT client = ClientArea(hwnd);
    auto position = [hwnd](DWORD index) -> std::optional<POINT> {
        LRESULT at = SendMessageW(hwnd, EM_POSFROMCHAR, index, 0);
        if (at == -1) return std::nullopt;
        return POINT{static_cast<short>(LOWORD(at)), static_cast<short>(HIWORD(at))};
    };
    auto first_line = static_cast<DWORD>(SendMessageW(hwnd, EM_LINEFROMCHAR, start, 0));
    auto last_line = static_cast<DWORD>(SendMessageW(hwnd, EM_LINEFROMCHAR, end, 0));
    for (DWORD line = first_line; line <= last_line; ++line) {
        LRESULT line_start = SendMessageW(hwnd, EM_LINEINDEX, line, 0);
        if (line_start < 0) break;
        auto line_end = static_cast<DWORD>(line_start + SendMessageW(hwnd, EM_LINELENGTH, line_start, 0));
        DWORD from = std::max<DWORD>(start, static_cast<DWORD>(line_start)), to = std::min(end, line_end);
        if (to <= from) continue;
        std::optional<POINT> left = position(from);
        if (!left) continue;
        // To the next character, or to the field's side when the selection runs to the line's end.
        std::optional<POINT> right = to < line_end ? position(to) : std::nullopt;
        LONG right_x = right && right->y == left->y ? right->x : client.right;
        areas.push_back({std::max(left->x, client.left), left->y, std::min(right_x, client.right),
                         std::min<LONG>(left->y + line_height, client.bottom)});
    }
    return areas;
}

// Pixels the edit drew in the system's selection colours take the style's, channel by channel.
void RecolourSelection(StyleCanvas& canvas, const std::vector<RECT>& areas, const SelectionColours& colours) {
    std::uint32_t* pixels = canvas.pixels();
    for (const RECT& area : areas)
        for (LONG y = std::max(0L, area.top); y < std::min<LONG>(area.bottom, canvas.height()); ++y)
            for (LONG x = std::max(0L, area.left); x < std::min<LONG>(area.right, canvas.width()); ++x) {
                std::uint32_t& pixel = pixels[y * canvas.width() + x];
                pixel = RecolourSelectionPixel(pixel, colours);
            }
}

// The height of a line of the control's text, in its own font: the caret's height, and a selected line's.
int LineHeight(HWND hwnd) {
    WindowDC dc(hwnd);
    std::optional<SelectedObject> font;
    if (HFONT own = FontOf(hwnd)) font.emplace(dc.get(), own);
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc.get(), &metrics);
    return std::max(1, static_cast<int>(metrics.tmHeight));
}
}  // namespace

bool TrackHot(HWND hwnd, UINT message, bool& hot) {
    if (message == WM_MOUSEMOVE && !hot) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&track);
        hot = true;
        return true;
    }
    if (message == WM_MOUSELEAVE && hot) {
        hot = false;
        return true;
    }
    return false;
}

// --- containers

const StyleColour& StyledContainer::Surface() const {
    return panel_ ? Painter().Colours().panel : Painter().Colours().window;
}

void StyledContainer::PaintPanel(HDC dc) {
    StylePainter& p = Painter();
    RECT client = ClientArea(Handle());
    p.Edge(dc, client, p.Colours().panel_light, p.Colours().panel_dark);
    std::wstring caption = WindowText(Handle());
    HFONT font = FontOf(GetAncestor(Handle(), GA_ROOT));
    p.Text(dc, caption, client, RootDisabled() ? p.Colours().text_disabled : p.Colours().text,
           DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, font ? font : p.TextFont());
}

LRESULT StyledContainer::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    StylePainter& p = Painter();
    const StyleColours& c = p.Colours();
    switch (message) {
        case WM_COMMAND:
            if (lparam != 0) StyledButtonLike::PaintWaitingButton();  // before the handler runs
            break;
        case WM_ERASEBKGND:
            p.Fill(reinterpret_cast<HDC>(wparam), ClientArea(Handle()), Surface());
            return 1;
        case WM_PAINT:
            if (!panel_) break;
            {
                PaintScope paint(Handle());
                PaintPanel(paint.dc());
            }
            return 0;
        case WM_PRINTCLIENT:
            if (!panel_) break;
            p.Fill(reinterpret_cast<HDC>(wparam), ClientArea(Handle()), Surface());
            PaintPanel(reinterpret_cast<HDC>(wparam));
            return 0;
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLORDLG: {
            HDC dc = reinterpret_cast<HDC>(wparam);
            HWND control = reinterpret_cast<HWND>(lparam);
            bool field = message == WM_CTLCOLOREDIT || (message == WM_CTLCOLORSTATIC && IsEditClass(control));
            bool dim =
                RootDisabled() || (control && !IsWindowEnabled(control)) || (field && message == WM_CTLCOLORSTATIC);
            const StyleColour& back = field ? c.field : Surface();
            SetTextColor(dc, ToColorRef(dim ? c.text_disabled : c.text));
            SetBkColor(dc, ToColorRef(back));
            return reinterpret_cast<LRESULT>(p.Brush(back));
        }
    }
    return Default(message, wparam, lparam);
}

LRESULT StyledSystemBox::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT: {
            PaintScope paint(Handle());
            Painter().Fill(paint.dc(), ClientArea(Handle()), Painter().Colours().window);
            return 0;
        }
        case WM_PRINTCLIENT:
            Painter().Fill(reinterpret_cast<HDC>(wparam), ClientArea(Handle()), Painter().Colours().window);
            return 0;
    }
    return StyledContainer::OnMessage(message, wparam, lparam);
}

// --- push buttons and check boxes: painted whole, with a hot look

namespace {
// The button whose repaint waits, if one does: a click (BM_CLICK) sends the button a dozen messages inside one
// another (button down, focus, state, capture, button up, state again), each of which the system's look draws;
// painting the style's look after each would paint it six times for one click.
StyledButtonLike* waiting_button = nullptr;
}  // namespace

StyledButtonLike::~StyledButtonLike() {
    if (waiting_button == this) waiting_button = nullptr;
}

void StyledButtonLike::PaintWaitingButton() {
    if (StyledButtonLike* button = waiting_button) {
        waiting_button = nullptr;
        button->painted_ahead_within_ = button->nesting_;
        button->PaintNow();
    }
}

void StyledButtonLike::PaintNow() {
    if (Detached()) return;
    WindowDC dc(Handle());
    if (dc.get() && IsWindowVisible(Handle())) Paint(dc.get());
}

LRESULT StyledButtonLike::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_PAINT: {
            PaintScope paint(Handle());
            Paint(paint.dc());
            return 0;
        }
        case WM_PRINTCLIENT:
            Paint(reinterpret_cast<HDC>(wparam));
            return 0;
        case WM_ERASEBKGND:
            return 1;
        case WM_MOUSEMOVE:
        case WM_MOUSELEAVE: {
            LRESULT result = Default(message, wparam, lparam);
            if (TrackHot(Handle(), message, hot_)) PaintNow();
            return result;
        }
    }
    ++nesting_;
    LRESULT result = Default(message, wparam, lparam);
    --nesting_;
    if (RedrawsButton(message)) {
        if (painted_ahead_within_ < 0) {
            // Painted once, when the outermost message ends.
            if (waiting_button != this) PaintWaitingButton();
            waiting_button = this;
        } else if (nesting_ >= painted_ahead_within_) {
            // Began after the handler started, which may keep a box up for long: painted at once.
            PaintNow();
        }
        // Otherwise it was open when the button was painted ahead of the handler, and drew before that.
    }
    if (nesting_ == 0) {
        painted_ahead_within_ = -1;
        if (waiting_button == this) {
            waiting_button = nullptr;
            PaintNow();
        }
    }
    return result;
}

void StyledButton::Paint(HDC dc) {
    HWND hwnd = Handle();
    StylePainter& p = Painter();
    const StyleColours& c = p.Colours();
    RECT client = ClientArea(hwnd);
    bool enabled = IsWindowEnabled(hwnd) && !RootDisabled();
    LRESULT state = SendMessageW(hwnd, BM_GETSTATE, 0, 0);
    bool pressed = enabled && (state & BST_PUSHED);
    bool hot = enabled && hot_;
    bool focused = enabled && ShowsFocus(hwnd);

    p.Fill(dc, client, pressed ? c.button_pressed : hot ? c.button_hot : c.button);
    p.Frame(dc, client, (pressed || hot || focused) ? c.accent : c.button_border, p.Metrics().button_border);
    if (focused && !pressed) {  // a second line inside: focus reads apart from hot
        RECT inner = client;
        InflateRect(&inner, -p.Metrics().button_border, -p.Metrics().button_border);
        p.Frame(dc, inner, c.focus);
    }

    RECT content = client;
    if (pressed) OffsetRect(&content, 1, 1);
    // Asked only of an icon button: each message passes through the style's subclass.
    const auto icon = (GetWindowLongPtrW(hwnd, GWL_STYLE) & BS_ICON) != 0
                          ? reinterpret_cast<HICON>(SendMessageW(hwnd, BM_GETIMAGE, IMAGE_ICON, 0))
                          : nullptr;
    if (icon) {
        ICONINFO info{};
        int w = 16, h = 16;
        if (GetIconInfo(icon, &info)) {
            BITMAP bm{};
            if (GetObjectW(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bm, &bm)) {
                w = bm.bmWidth;
                h = info.hbmColor ? bm.bmHeight : bm.bmHeight / 2;
            }
            if (info.hbmColor) DeleteObject(info.hbmColor);  // GetIconInfo hands out copies
            if (info.hbmMask) DeleteObject(info.hbmMask);
        }
        DrawIconEx(dc, content.left + (Width(content) - w) / 2, content.top + (Height(content) - h) / 2, icon, w, h, 0,
                   nullptr, DI_NORMAL);
        return;
    }
    const StyleColour& text = !enabled ? c.text_disabled : pressed ? c.button_pressed_text : c.text;
    p.Text(dc, WindowText(hwnd), content, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE, FontOf(hwnd));
}

// --- check boxes

void StyledCheckBox::Paint(HDC dc) {
    HWND hwnd = Handle();
    StylePainter& p = Painter();
    const StyleColours& c = p.Colours();
    const StyleMetrics& m = p.Metrics();
    RECT client = ClientArea(hwnd);
    auto background = reinterpret_cast<HBRUSH>(
        SendMessageW(GetParent(hwnd), WM_CTLCOLORBTN, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(hwnd)));
    FillRect(dc, &client, background ? background : p.Brush(c.panel));

    bool enabled = IsWindowEnabled(hwnd) && !RootDisabled();
    bool focused = enabled && ShowsFocus(hwnd);
    bool pressed = enabled && (SendMessageW(hwnd, BM_GETSTATE, 0, 0) & BST_PUSHED);
    int top = client.top + (Height(client) - m.check_size) / 2;
    RECT box{client.left, top, client.left + m.check_size, top + m.check_size};
    p.Fill(dc, box, c.check_box);
    p.Frame(dc, box, !enabled ? c.text_disabled : (hot_ || focused || pressed) ? c.accent : c.check_border);
    if (SendMessageW(hwnd, BM_GETCHECK, 0, 0) == BST_CHECKED) {
        RECT mark = box;
        InflateRect(&mark, -2, -2);
        p.Tick(dc, mark, enabled ? c.check_tick : c.text_disabled);
    }

    RECT text = client;
    text.left = box.right + m.check_gap;
    HFONT font = FontOf(hwnd);
    std::wstring caption = WindowText(hwnd);
    p.Text(dc, caption, text, enabled ? c.text : c.text_disabled, DT_LEFT | DT_VCENTER | DT_SINGLELINE, font);
    if (focused && !caption.empty()) {
        RECT extent = text;
        HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
        DrawTextW(dc, caption.c_str(), -1, &extent, DT_LEFT | DT_SINGLELINE | DT_CALCRECT);
        if (old) SelectObject(dc, old);
        int height = Height(extent);
        RECT ring{extent.left - 2, client.top + (Height(client) - height) / 2 - 1,
                  std::min(extent.right + 2, client.right), 0};
        ring.bottom = ring.top + height + 2;
        p.Frame(dc, ring, c.focus);
    }
}

// --- edit fields

void StyledEdit::PaintBorder() {
    HWND hwnd = Handle();
    RECT window_rect{}, client = ClientArea(hwnd);
    GetWindowRect(hwnd, &window_rect);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    int border = client.left - window_rect.left;
    if (border <= 0) return;
    OffsetRect(&client, -window_rect.left, -window_rect.top);
    OffsetRect(&window_rect, -window_rect.left, -window_rect.top);

    StylePainter& p = Painter();
    const StyleColours& c = p.Colours();
    WholeWindowDC dc(hwnd);
    ExcludeClipRect(dc.get(), client.left, client.top, client.right, client.bottom);
    bool focused = GetFocus() == hwnd && !RootDisabled();
    p.Frame(dc.get(), window_rect, c.field, border);
    p.Frame(dc.get(), window_rect, focused ? c.field_border_focused : c.field_border,
            std::min(border, p.Metrics().field_border));
}

void StyledEdit::Paint(HDC dc) {
    HWND hwnd = Handle();
    RECT client = ClientArea(hwnd);
    StylePainter& p = Painter();
    StyleCanvas canvas(dc, client.right, client.bottom);
    p.Fill(canvas.dc(), client, p.Colours().field);
    Default(WM_PRINTCLIENT, reinterpret_cast<WPARAM>(canvas.dc()), PRF_CLIENT);
    GdiFlush();
    DWORD start = 0, end = 0;
    SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    bool shows_selection = start != end && (GetFocus() == hwnd || (GetWindowLongPtrW(hwnd, GWL_STYLE) & ES_NOHIDESEL));
    if (shows_selection)
        RecolourSelection(canvas, SelectedAreas(hwnd, std::min(start, end), std::max(start, end), LineHeight(hwnd)),
                          {FromColorRef(GetSysColor(COLOR_HIGHLIGHT)), FromColorRef(GetSysColor(COLOR_HIGHLIGHTTEXT)),
                           p.Colours().selection, p.Colours().selection_text});
    BitBlt(dc, 0, 0, client.right, client.bottom, canvas.dc(), 0, 0, SRCCOPY);
}

// Paints over what the edit has just drawn on the screen itself, without waiting for WM_PAINT.
void StyledEdit::PaintNow() {
    HWND hwnd = Handle();
    if (Detached() || !IsWindowVisible(hwnd)) return;
    bool hid_caret = HideCaret(hwnd);
    {
        WindowDC dc(hwnd);
        if (dc.get()) Paint(dc.get());
    }
    if (hid_caret) ShowCaret(hwnd);
}

// The caret is drawn by inverting: a caret of the field's colour XOR the caret colour shows the caret colour.
void StyledEdit::ColourCaret() {
    HWND hwnd = Handle();
    if (GetFocus() != hwnd) return;
    StylePainter& p = Painter();
    // Never thinner than the user asked for in Windows' settings.
    int width = std::max({1, p.Metrics().caret_width, CaretWidth()});
    int height = LineHeight(hwnd);
    WindowDC dc(hwnd);
    StyleBitmap bitmap = MakeStyleBitmap(dc.get(), width, height);
    {
        MemoryDC memory(dc.get());
        SelectedObject selected(memory.get(), bitmap.get());
        const StyleColour& field = p.Colours().field;
        const StyleColour& caret = p.Colours().caret;
        StyleColour mask{static_cast<std::uint8_t>(field.red ^ caret.red),
                         static_cast<std::uint8_t>(field.green ^ caret.green),
                         static_cast<std::uint8_t>(field.blue ^ caret.blue)};
        p.Fill(memory.get(), {0, 0, width, height}, mask);
    }
    POINT at{};
    GetCaretPos(&at);
    CreateCaret(hwnd, bitmap.get(), 0, 0);
    SetCaretPos(at.x, at.y);
    ShowCaret(hwnd);
    caret_ = std::move(bitmap);  // the caret's old picture goes after the caret has a new one
}

LRESULT StyledEdit::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_NCPAINT:
            if (GetWindowLongPtrW(Handle(), GWL_STYLE) & (WS_HSCROLL | WS_VSCROLL)) Default(message, wparam, lparam);
            PaintBorder();
            return 0;
        case WM_PAINT: {
            PaintScope paint(Handle());
            Paint(paint.dc());
            return 0;
        }
        case WM_ERASEBKGND:
            return 1;
        case WM_SETFOCUS:
        case WM_SETFONT: {
            LRESULT result = Default(message, wparam, lparam);
            ColourCaret();
            PaintBorder();
            PaintNow();
            return result;
        }
        case WM_KILLFOCUS:
        case WM_ENABLE: {
            LRESULT result = Default(message, wparam, lparam);
            PaintBorder();
            PaintNow();
            return result;
        }
    }
    LRESULT result = Default(message, wparam, lparam);
    if (RedrawsEdit(Handle(), message)) PaintNow();
    return result;
}
