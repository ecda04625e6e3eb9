#pragma once
// Menus in the style. Every item of a window's menu bar, drop-down menus and window menu stays a real menu item
// (same command, same place, same state) and becomes owner-drawn, so the style draws it; the drop-down window
// gets the style's background and border.
#include "ui/style/styled_window.h"

#include <cstdint>
#include <list>
#include <oleacc.h>
#include <string>

// Attached to every top-level window: converts its menus and draws their items when asked.
class StyledMenuOwner : public StyledWindow {
public:
    explicit StyledMenuOwner(HWND hwnd) : StyledWindow(hwnd) {}
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void Restore() override;

    // An owner-drawn item's data. Screen readers read an owner-drawn item's name from the MSAAMENUINFO its data
    // points to, which must come first.
    struct Item {
        MSAAMENUINFO accessible;  // points at `label`
        std::uint32_t mark;
        HMENU menu;
        UINT type;       // the item's own type, given back when the style leaves
        ULONG_PTR data;  // the item's own data, likewise
        std::wstring text;
        bool on_bar;
        std::wstring label;  // the text before a tab: what is read
    };

private:
    void Convert(HMENU menu, bool on_bar);
    std::list<Item> items_;  // the converted items point here
    bool leaving_ = false;
};

// The drop-down menu window (class "#32768").
class StyledPopupMenu : public StyledWindow {
public:
    explicit StyledPopupMenu(HWND hwnd) : StyledWindow(hwnd) {}
    LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
    void Attached() override;
    void Restore() override;
};

// Themed Windows paints a menu bar through two undocumented messages, in the system's light colours unless the
// window answers them: first the bar's background, then each item.
constexpr UINT kMenuBarBackgroundPaint = 0x0091;  // known as WM_UAHDRAWMENU; lParam: MenuBarPaint
constexpr UINT kMenuBarItemPaint = 0x0092;        // known as WM_UAHDRAWMENUITEM; lParam: MenuBarItemPaint

struct MenuBarPaint {  // known as UAHMENU
    HMENU menu;
    HDC dc;  // the window's DC: window coordinates
    DWORD flags;
};

struct MenuBarItemPaint {  // known as UAHDRAWMENUITEM; the item's metrics follow `position`
    DRAWITEMSTRUCT item;
    MenuBarPaint bar;
    int position;  // of the item in the bar
};

// Draws a window's menu bar into its frame; the bar is given in window coordinates.
void PaintMenuBar(HWND hwnd, HDC dc, const RECT& bar, StylePainter& painter);
