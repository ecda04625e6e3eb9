#include "ui/style/gdi.h"

#include "platform/failure.h"

namespace {
int live_objects = 0;

template <typename Owner, typename Handle>
Owner Counted(Handle handle, const wchar_t* what) {
    if (!handle) throw Failure(std::wstring(L"Cannot make the style's ") + what);
    ++live_objects;
    return Owner(handle);
}
}  // namespace

void StyleGdiDeleter::operator()(HGDIOBJ object) const {
    DeleteObject(object);
    --live_objects;
}

int LiveStyleGdiObjects() { return live_objects; }

StyleBrush MakeStyleBrush(COLORREF colour) { return Counted<StyleBrush>(CreateSolidBrush(colour), L"brush"); }

StylePen MakeStylePen(COLORREF colour, int width) {
    return Counted<StylePen>(CreatePen(PS_SOLID, width, colour), L"pen");
}

StyleFontHandle MakeStyleFont(const wchar_t* name, int height, int weight) {
    return Counted<StyleFontHandle>(
        CreateFontW(height, 0, 0, 0, weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE, name),
        L"font");
}

StyleBitmap MakeStyleBitmap(HDC compatible_with, int width, int height) {
    return Counted<StyleBitmap>(CreateCompatibleBitmap(compatible_with, width, height), L"bitmap");
}

StyleCanvas::StyleCanvas(HDC compatible_with, int width, int height)
    : dc_(compatible_with), width_(width > 0 ? width : 1), height_(height > 0 ? height : 1) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width_;
    info.bmiHeader.biHeight = -height_;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(compatible_with, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bitmap_ = Counted<StyleBitmap>(section, L"canvas");
    if (!dc_.get()) throw Failure(L"Cannot make the style's canvas");
    pixels_ = static_cast<std::uint32_t*>(bits);
    old_ = SelectObject(dc_.get(), bitmap_.get());
}
