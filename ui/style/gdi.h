#pragma once
// The GDI objects the style makes, each with an owner that keeps a count of the live ones,
// so a test can see that painting and closing windows leave nothing behind.
#include "ui/handles.h"

#include <cstdint>
#include <vector>

struct StyleGdiDeleter {
    void operator()(HGDIOBJ object) const;
};

using StyleBrush = UniqueHandle<HBRUSH, StyleGdiDeleter>;
using StylePen = UniqueHandle<HPEN, StyleGdiDeleter>;
using StyleFontHandle = UniqueHandle<HFONT, StyleGdiDeleter>;
using StyleBitmap = UniqueHandle<HBITMAP, StyleGdiDeleter>;

StyleBrush MakeStyleBrush(COLORREF colour);
StylePen MakeStylePen(COLORREF colour, int width = 1);
StyleFontHandle MakeStyleFont(const wchar_t* name, int height, int weight);
StyleBitmap MakeStyleBitmap(HDC compatible_with, int width, int height);

// GDI objects made through the functions above and not yet deleted.
int LiveStyleGdiObjects();

// A 32-bit top-down picture in memory that can be painted into and read pixel by pixel.
class StyleCanvas {
public:
    StyleCanvas(HDC compatible_with, int width, int height);
    HDC dc() const { return dc_.get(); }
    int width() const { return width_; }
    int height() const { return height_; }
    // 0x00RRGGBB per pixel, rows from the top.
    std::uint32_t* pixels() const { return pixels_; }

private:
    MemoryDC dc_;
    StyleBitmap bitmap_;
    std::uint32_t* pixels_ = nullptr;
    int width_;
    int height_;
    HGDIOBJ old_ = nullptr;

public:
    StyleCanvas(const StyleCanvas&) = delete;
    StyleCanvas& operator=(const StyleCanvas&) = delete;
    ~StyleCanvas() {
        if (old_) SelectObject(dc_.get(), old_);
    }
};
