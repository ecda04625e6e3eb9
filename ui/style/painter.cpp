#include "ui/style/painter.h"

#include "ui/rect_size.h"

StylePainter::StylePainter(StyleData data)
    : data_(std::move(data)),
      text_font_(MakeStyleFont(data_.font.name.c_str(), data_.font.height, FW_NORMAL)),
      caption_font_(MakeStyleFont(data_.font.name.c_str(), data_.font.height,
                                  data_.font.caption_weight ? data_.font.caption_weight : FW_NORMAL)) {}

HBRUSH StylePainter::Brush(const StyleColour& colour) {
    COLORREF key = ToColorRef(colour);
    auto found = brushes_.find(key);
    if (found == brushes_.end()) found = brushes_.emplace(key, MakeStyleBrush(key)).first;
    return found->second.get();
}

HPEN StylePainter::Pen(const StyleColour& colour) {
    COLORREF key = ToColorRef(colour);
    auto found = pens_.find(key);
    if (found == pens_.end()) found = pens_.emplace(key, MakeStylePen(key)).first;
    return found->second.get();
}

void StylePainter::Fill(HDC dc, const RECT& area, const StyleColour& colour) { FillRect(dc, &area, Brush(colour)); }

void StylePainter::Frame(HDC dc, const RECT& area, const StyleColour& colour, int thickness) {
    RECT r = area;
    for (int i = 0; i < thickness && r.right > r.left && r.bottom > r.top; ++i) {
        FrameRect(dc, &r, Brush(colour));
        InflateRect(&r, -1, -1);
    }
}

void StylePainter::Edge(HDC dc, const RECT& area, const StyleColour& light, const StyleColour& dark) {
    Fill(dc, {area.left, area.top, area.right, area.top + 1}, light);
    Fill(dc, {area.left, area.top, area.left + 1, area.bottom}, light);
    Fill(dc, {area.left, area.bottom - 1, area.right, area.bottom}, dark);
    Fill(dc, {area.right - 1, area.top, area.right, area.bottom}, dark);
}

void StylePainter::Text(HDC dc, const std::wstring& text, RECT area, const StyleColour& colour, UINT format,
                        HFONT font) {
    if (text.empty()) return;
    HGDIOBJ old_font = font ? SelectObject(dc, font) : nullptr;
    int old_mode = SetBkMode(dc, TRANSPARENT);
    COLORREF old_colour = SetTextColor(dc, ToColorRef(colour));
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &area, format);
    SetTextColor(dc, old_colour);
    SetBkMode(dc, old_mode);
    if (old_font) SelectObject(dc, old_font);
}

void StylePainter::Line(HDC dc, POINT from, POINT to, const StyleColour& colour) {
    SelectedObject pen(dc, Pen(colour));
    MoveToEx(dc, from.x, from.y, nullptr);
    LineTo(dc, to.x, to.y);
}

void StylePainter::Cross(HDC dc, const RECT& area, int size, const StyleColour& colour) {
    int left = area.left + (Width(area) - size) / 2;
    int top = area.top + (Height(area) - size) / 2;
    // Two pixels wide, so the cross reads at small sizes.
    for (int shift = 0; shift < 2; ++shift) {
        Line(dc, {left + shift, top}, {left + size + shift, top + size}, colour);
        Line(dc, {left + size - 1 + shift, top}, {left - 1 + shift, top + size}, colour);
    }
}

void StylePainter::Tick(HDC dc, const RECT& area, const StyleColour& colour) {
    int w = Width(area), h = Height(area);
    POINT start{area.left + w / 5, area.top + h / 2};
    POINT bottom{area.left + w * 2 / 5, area.top + h * 3 / 4};
    POINT end{area.left + w * 4 / 5, area.top + h / 4};
    for (int shift = 0; shift < 2; ++shift) {
        Line(dc, {start.x, start.y + shift}, {bottom.x, bottom.y + shift}, colour);
        Line(dc, {bottom.x, bottom.y + shift}, {end.x + 1, end.y - 1 + shift}, colour);
    }
}
