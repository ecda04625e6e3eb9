#include "hand_made_controls.h"

namespace {

HFONT caption_font = nullptr;  // the shared font, for the panels' captions

LRESULT CALLBACK PanelProcedure(HWND panel, UINT message, WPARAM w, LPARAM l) {
    switch (message) {
        case WM_COMMAND:
        case WM_DRAWITEM:
        case WM_CTLCOLORBTN:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORSTATIC:
            return SendMessageW(GetParent(panel), message, w, l);  // the form handles its controls
        case WM_PAINT: {
            PAINTSTRUCT paint;
            HDC dc = BeginPaint(panel, &paint);
            RECT client;
            GetClientRect(panel, &client);
            DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
            wchar_t caption[64];
            if (GetWindowTextW(panel, caption, 64) > 0) {
                HGDIOBJ old = SelectObject(dc, caption_font);
                SetBkMode(dc, TRANSPARENT);
                SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
                DrawTextW(dc, caption, -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
                SelectObject(dc, old);
            }
            EndPaint(panel, &paint);
            return 0;
        }
    }
    return DefWindowProcW(panel, message, w, l);
}

void Register(HINSTANCE instance, const wchar_t* name, WNDPROC procedure, HICON large_icon, HICON small_icon) {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = instance;
    window_class.hIcon = large_icon;
    window_class.hIconSm = small_icon;
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
    window_class.lpszClassName = name;
    RegisterClassExW(&window_class);
}

}  // namespace

void RegisterHandMadeClasses(HINSTANCE instance, WNDPROC form_procedure, HICON large_icon, HICON small_icon) {
    Register(instance, kHandMadeFormClass, form_procedure, large_icon, small_icon);
    Register(instance, kHandMadePanelClass, PanelProcedure, large_icon, small_icon);
}

HWND MakeChild(const HandMadeShared& shared, const wchar_t* class_name, DWORD ex_style, DWORD style,
               const wchar_t* text, HWND parent, int left, int top, int width, int height, int id) {
    HWND child = CreateWindowExW(ex_style, class_name, text, WS_CHILD | style, left, top, width, height, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), shared.instance, nullptr);
    SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(shared.font), FALSE);
    return child;
}

HWND MakePanel(const HandMadeShared& shared, const wchar_t* caption, HWND parent, int left, int top, int width,
               int height, int id) {
    caption_font = shared.font;
    return CreateWindowExW(WS_EX_CONTROLPARENT, kHandMadePanelClass, caption, WS_CHILD | WS_CLIPSIBLINGS | WS_VISIBLE,
                           left, top, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                           shared.instance, nullptr);
}

HWND MakeLabel(const HandMadeShared& shared, HDC screen, const wchar_t* caption, HWND parent, int left, int top,
               int id) {
    SIZE extent{};
    GetTextExtentPoint32W(screen, caption, lstrlenW(caption), &extent);
    return MakeChild(shared, L"STATIC", 0, WS_VISIBLE | SS_LEFT | SS_NOPREFIX, caption, parent, left, top, extent.cx,
                     extent.cy, id);
}

RECT FrameFor(int left, int top, int client_width, int client_height, DWORD style, DWORD ex_style, bool menu) {
    RECT frame{0, 0, client_width, client_height};
    AdjustWindowRectEx(&frame, style, menu, ex_style);
    return {left, top, left + frame.right - frame.left, top + frame.bottom - frame.top};
}

POINT PlacedInWorkArea(const RECT& frame) {
    POINT place{frame.left, frame.top};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (!GetMonitorInfoW(MonitorFromRect(&frame, MONITOR_DEFAULTTONEAREST), &monitor)) return place;
    const RECT& work = monitor.rcWork;
    auto along = [](LONG start, LONG size, LONG area_start, LONG area_end) {
        if (start + size > area_end) start = area_end - size;
        return start < area_start ? area_start : start;
    };
    place.x = along(frame.left, frame.right - frame.left, work.left, work.right);
    place.y = along(frame.top, frame.bottom - frame.top, work.top, work.bottom);
    return place;
}
