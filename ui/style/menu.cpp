#include "ui/style/menu.h"

#include "ui/rect_size.h"
#include "ui/style/compositor.h"

namespace {
constexpr std::uint32_t kItemMark = 0x4B564D49;  // tells the style's items from anyone else's owner-drawn ones

const StyledMenuOwner::Item* ItemOf(ULONG_PTR data) {
    auto* item = reinterpret_cast<const StyledMenuOwner::Item*>(data);
    return item && item->accessible.dwMSAASignature == static_cast<DWORD>(MSAA_MENU_SIG) && item->mark == kItemMark
               ? item
               : nullptr;
}

// Menu text is "label" or "label<TAB>shortcut".
std::pair<std::wstring, std::wstring> SplitAtTab(const std::wstring& text) {
    size_t tab = text.find(L'\t');
    if (tab == std::wstring::npos) return {text, L""};
    return {text.substr(0, tab), text.substr(tab + 1)};
}

wchar_t Upper(wchar_t c) {
    CharUpperBuffW(&c, 1);
    return c;
}

// The letter after a single "&" in a label, upper-cased; 0 when it has none.
wchar_t AccessKeyOf(const std::wstring& label) {
    for (std::size_t i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != L'&') continue;
        if (label[i + 1] != L'&') return Upper(label[i + 1]);
        ++i;  // "&&" is a plain ampersand
    }
    return 0;
}

// Windows matches typed letters against the access keys of text items only: for owner-drawn ones the owner
// answers WM_MENUCHAR. The first enabled item whose access key is the letter is chosen and run.
LRESULT MenuCharAnswer(HMENU menu, wchar_t typed) {
    const wchar_t key = Upper(typed);
    const int count = menu ? GetMenuItemCount(menu) : 0;
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA | MIIM_STATE;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        const StyledMenuOwner::Item* item = ItemOf(info.dwItemData);
        if (!item || (info.fState & MFS_DISABLED) || AccessKeyOf(item->label) != key) continue;
        return MAKELRESULT(i, MNC_EXECUTE);
    }
    return MAKELRESULT(0, MNC_IGNORE);
}

SIZE TextSize(HWND hwnd, HFONT font, const std::wstring& text) {
    WindowDC dc(hwnd);
    SelectedObject selected(dc.get(), font);
    RECT r{0, 0, 0, 0};
    DrawTextW(dc.get(), text.c_str(), static_cast<int>(text.size()), &r, DT_SINGLELINE | DT_CALCRECT);
    return {Width(r), Height(r)};
}

void DrawItem(HDC dc, const RECT& area, const StyledMenuOwner::Item& item, bool selected, bool grayed,
              bool window_disabled, StylePainter& p) {
    const StyleColours& c = p.Colours();
    const StyleMetrics& m = p.Metrics();
    if (item.type & MFT_SEPARATOR) {
        p.Fill(dc, area, c.menu);
        int middle = (area.top + area.bottom) / 2;
        p.Fill(dc, {area.left + m.menu_padding / 2, middle, area.right - m.menu_padding / 2, middle + 1},
               c.menu_separator);
        return;
    }
    bool hot = selected && !window_disabled;
    p.Fill(dc, area, hot ? c.menu_hot : item.on_bar ? c.menubar : c.menu);
    const StyleColour& text = (grayed || window_disabled) ? c.text_disabled : hot ? c.menu_hot_text : c.text;
    if (item.on_bar) {
        p.Text(dc, item.text, area, text, DT_CENTER | DT_VCENTER | DT_SINGLELINE, p.TextFont());
        return;
    }
    auto [label, shortcut] = SplitAtTab(item.text);
    RECT inner = area;
    InflateRect(&inner, -m.menu_padding, 0);
    p.Text(dc, label, inner, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE, p.TextFont());
    p.Text(dc, shortcut, inner, text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE, p.TextFont());
}
}  // namespace

void StyledMenuOwner::Convert(HMENU menu, bool on_bar) {
    if (!menu || leaving_) return;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_FTYPE | MIIM_DATA;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.fType & (MFT_OWNERDRAW | MFT_BITMAP)) continue;  // converted already, or drawn by its maker
        wchar_t text[256] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 256, MF_BYPOSITION);
        items_.push_back({{}, kItemMark, menu, info.fType, info.dwItemData, text, on_bar, SplitAtTab(text).first});
        Item& item = items_.back();  // list nodes stay where they are: the record may point into the item
        item.accessible = {static_cast<DWORD>(MSAA_MENU_SIG), static_cast<DWORD>(item.label.size()), item.label.data()};
        info.fType |= MFT_OWNERDRAW;
        info.dwItemData = reinterpret_cast<ULONG_PTR>(&items_.back());
        SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info);
    }
    if (!on_bar) {
        MENUINFO look{};
        look.cbSize = sizeof look;
        look.fMask = MIM_BACKGROUND;
        look.hbrBack = Painter().Brush(Painter().Colours().menu);
        SetMenuInfo(menu, &look);
    }
}

void StyledMenuOwner::Restore() {
    leaving_ = true;  // the bar is measured again below, with the subclass still in place
    for (Item& item : items_) {
        if (!IsMenu(item.menu)) continue;
        int count = GetMenuItemCount(item.menu);
        for (int i = 0; i < count; ++i) {
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_DATA;
            if (!GetMenuItemInfoW(item.menu, static_cast<UINT>(i), TRUE, &info) || ItemOf(info.dwItemData) != &item)
                continue;
            info.fMask = MIIM_FTYPE | MIIM_DATA | ((item.type & MFT_SEPARATOR) ? 0 : MIIM_STRING);
            info.fType = item.type;
            info.dwItemData = item.data;
            info.dwTypeData = item.text.data();
            SetMenuItemInfoW(item.menu, static_cast<UINT>(i), TRUE, &info);
            if (!item.on_bar) {
                MENUINFO look{};
                look.cbSize = sizeof look;
                look.fMask = MIM_BACKGROUND;
                SetMenuInfo(item.menu, &look);
            }
        }
    }
    items_.clear();
    if (GetMenu(Handle())) DrawMenuBar(Handle());
}

LRESULT StyledMenuOwner::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_NCCALCSIZE:
            // Before the bar is measured: the form sizes itself around the measured bar.
            Convert(GetMenu(Handle()), true);
            break;
        case WM_INITMENUPOPUP: {
            LRESULT result = Default(message, wparam, lparam);
            Convert(reinterpret_cast<HMENU>(wparam), false);
            return result;
        }
        case WM_MENUCHAR: {
            const LRESULT answer = MenuCharAnswer(reinterpret_cast<HMENU>(lparam), LOWORD(wparam));
            if (HIWORD(answer) == MNC_EXECUTE) return answer;
            break;
        }
        case WM_MEASUREITEM: {
            auto* measure = reinterpret_cast<MEASUREITEMSTRUCT*>(lparam);
            const Item* item = measure->CtlType == ODT_MENU ? ItemOf(measure->itemData) : nullptr;
            if (!item) break;
            const StyleMetrics& m = Painter().Metrics();
            if (item->type & MFT_SEPARATOR) {
                measure->itemWidth = 0;
                measure->itemHeight = static_cast<UINT>(m.menu_separator_height);
                return TRUE;
            }
            auto [label, shortcut] = SplitAtTab(item->text);
            int width = TextSize(Handle(), Painter().TextFont(), label).cx + 2 * m.menu_padding;
            if (!shortcut.empty()) width += TextSize(Handle(), Painter().TextFont(), shortcut).cx + 3 * m.menu_padding;
            measure->itemWidth = static_cast<UINT>(width);
            measure->itemHeight =
                static_cast<UINT>(item->on_bar ? GetSystemMetrics(SM_CYMENU) - 1 : m.menu_item_height);
            return TRUE;
        }
        case kMenuBarItemPaint: {
            const auto* paint = reinterpret_cast<const MenuBarItemPaint*>(lparam);
            if (!paint || !paint->bar.dc) break;
            MENUITEMINFOW info{};
            info.cbSize = sizeof info;
            info.fMask = MIIM_DATA;
            const Item* item = GetMenuItemInfoW(paint->bar.menu, static_cast<UINT>(paint->position), TRUE, &info)
                                   ? ItemOf(info.dwItemData)
                                   : nullptr;
            if (!item) break;
            UINT state = paint->item.itemState;
            DrawItem(paint->bar.dc, paint->item.rcItem, *item, (state & (ODS_SELECTED | ODS_HOTLIGHT)) != 0,
                     (state & (ODS_GRAYED | ODS_DISABLED)) != 0, RootDisabled(), Painter());
            return TRUE;
        }
        case WM_DRAWITEM: {
            auto* draw = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
            const Item* item = draw->CtlType == ODT_MENU ? ItemOf(draw->itemData) : nullptr;
            if (!item) break;
            // A bar item under the mouse comes with ODS_HOTLIGHT: lit as the drop-down's item under the mouse is.
            DrawItem(draw->hDC, draw->rcItem, *item, (draw->itemState & (ODS_SELECTED | ODS_HOTLIGHT)) != 0,
                     (draw->itemState & (ODS_GRAYED | ODS_DISABLED)) != 0, item->on_bar && RootDisabled(), Painter());
            return TRUE;
        }
    }
    return Default(message, wparam, lparam);
}

void PaintMenuBar(HWND hwnd, HDC dc, const RECT& bar, StylePainter& painter) {
    painter.Fill(dc, bar, painter.Colours().menubar);
    HMENU menu = GetMenu(hwnd);
    RECT window_rect{};
    GetWindowRect(hwnd, &window_rect);
    bool disabled = !IsWindowEnabled(hwnd);
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_DATA | MIIM_STATE;
        RECT area{};
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info) ||
            !GetMenuItemRect(hwnd, menu, static_cast<UINT>(i), &area))
            continue;
        const StyledMenuOwner::Item* item = ItemOf(info.dwItemData);
        if (!item) continue;
        OffsetRect(&area, -window_rect.left, -window_rect.top);
        IntersectRect(&area, &area, &bar);
        DrawItem(dc, area, *item, (info.fState & MFS_HILITE) != 0, (info.fState & MFS_GRAYED) != 0, disabled, painter);
    }
}

namespace {
COLORREF ColourRef(const StyleColour& colour) { return RGB(colour.red, colour.green, colour.blue); }
}  // namespace

// Square corners, and on Windows 11 the compositor's own border in the style's menu border colour.
void StyledPopupMenu::Attached() {
    SetSquareCorners(Handle(), true);
    SetBorderColour(Handle(), ColourRef(Painter().Colours().menu_border));
}

void StyledPopupMenu::Restore() {
    SetSquareCorners(Handle(), false);
    SetBorderColour(Handle(), std::nullopt);
}

LRESULT StyledPopupMenu::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case WM_CREATE: {
            // Styled while it was being made: the compositor hears about the corners again now that it exists.
            LRESULT result = Default(message, wparam, lparam);
            Attached();
            return result;
        }
        case WM_ERASEBKGND: {
            StylePainter& p = Painter();
            p.Fill(reinterpret_cast<HDC>(wparam), ClientArea(Handle()), p.Colours().menu);
            return 1;
        }
        case WM_NCPAINT: {
            // A border outside the client area, where the system has one: the style's border line.
            RECT window_rect{};
            GetWindowRect(Handle(), &window_rect);
            RECT client = ClientArea(Handle());
            if (client.right == Width(window_rect) && client.bottom == Height(window_rect)) break;
            WholeWindowDC dc(Handle());
            OffsetRect(&window_rect, -window_rect.left, -window_rect.top);
            Painter().Frame(dc.get(), window_rect, Painter().Colours().menu_border, 1);
            RECT inner = window_rect;
            InflateRect(&inner, -1, -1);
            Painter().Frame(dc.get(), inner, Painter().Colours().menu, (window_rect.right - client.right) / 2 - 1);
            return 0;
        }
        case WM_PAINT: {
            // The system draws the background and the items (through the owner); then the space around the
            // items, where it draws its raised edge, becomes the style's.
            LRESULT result = Default(message, wparam, lparam);
            HMENU menu = reinterpret_cast<HMENU>(SendMessageW(Handle(), MN_GETHMENU, 0, 0));
            RECT items{};
            int count = menu ? GetMenuItemCount(menu) : 0;
            for (int i = 0; i < count; ++i) {
                RECT area{};
                if (GetMenuItemRect(nullptr, menu, static_cast<UINT>(i), &area)) UnionRect(&items, &items, &area);
            }
            MapWindowPoints(nullptr, Handle(), reinterpret_cast<POINT*>(&items), 2);
            WindowDC dc(Handle());
            RECT client = ClientArea(Handle());
            if (!IsRectEmpty(&items)) ExcludeClipRect(dc.get(), items.left, items.top, items.right, items.bottom);
            Painter().Fill(dc.get(), client, Painter().Colours().menu);
            Painter().Frame(dc.get(), client, Painter().Colours().menu_border, 1);
            return result;
        }
    }
    return Default(message, wparam, lparam);
}
