#pragma once
// The active style's drawing kit: its data, one brush and one pen per colour (made on first use and kept),
// its fonts, and the few shapes every part of the look is drawn from.
#include "ui/style/data.h"
#include "ui/style/gdi.h"

#include <map>
#include <string>

inline COLORREF ToColorRef(const StyleColour& c) { return RGB(c.red, c.green, c.blue); }

class StylePainter {
public:
    explicit StylePainter(StyleData data);

    const StyleColours& Colours() const { return data_.colours; }
    const StyleMetrics& Metrics() const { return data_.metrics; }

    HBRUSH Brush(const StyleColour& colour);
    HPEN Pen(const StyleColour& colour);
    HFONT TextFont() const { return text_font_.get(); }
    HFONT CaptionFont() const { return caption_font_.get(); }

    void Fill(HDC dc, const RECT& area, const StyleColour& colour);
    // A border of the given thickness just inside the rectangle.
    void Frame(HDC dc, const RECT& area, const StyleColour& colour, int thickness = 1);
    // A one-pixel edge: light on the top and left, dark on the bottom and right.
    void Edge(HDC dc, const RECT& area, const StyleColour& light, const StyleColour& dark);
    // Transparent text in the given font (the current one when none).
    void Text(HDC dc, const std::wstring& text, RECT area, const StyleColour& colour, UINT format,
              HFONT font = nullptr);
    void Line(HDC dc, POINT from, POINT to, const StyleColour& colour);
    // The close box's cross, centred in the area.
    void Cross(HDC dc, const RECT& area, int size, const StyleColour& colour);
    // A check mark filling the area.
    void Tick(HDC dc, const RECT& area, const StyleColour& colour);

private:
    StyleData data_;
    std::map<COLORREF, StyleBrush> brushes_;
    std::map<COLORREF, StylePen> pens_;
    StyleFontHandle text_font_;
    StyleFontHandle caption_font_;
};
