#include "style_support.h"

#include "ui/resources.h"
#include "ui/style/gdi.h"

#include <algorithm>
#include <iomanip>

const StyleData& Amakrits() {
    static const StyleData data = ParseStyle(LoadTextResource(L"AMAKRITS"), L"AMAKRITS");
    return data;
}

StyleColour ScreenPixel(POINT screen) {
    GdiFlush();
    HDC dc = GetDC(nullptr);
    COLORREF c = GetPixel(dc, screen.x, screen.y);
    ReleaseDC(nullptr, dc);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

StyleColour ClientPixel(HWND hwnd, POINT client) {
    ClientToScreen(hwnd, &client);
    return ScreenPixel(client);
}

StyleColour SystemColour(int index) {
    COLORREF c = GetSysColor(index);
    return {GetRValue(c), GetGValue(c), GetBValue(c)};
}

void ShowDrawingWithoutPainting() {
    constexpr UINT kNeverSent = WM_APP + 0x3FFF;
    MSG message;
    PeekMessageW(&message, nullptr, kNeverSent, kNeverSent, PM_NOREMOVE);
}

ScreenArea::ScreenArea(const RECT& screen)
    : width_(std::max(0, int(screen.right - screen.left))), height_(std::max(0, int(screen.bottom - screen.top))) {
    GdiFlush();
    HDC dc = GetDC(nullptr);
    {
        StyleCanvas canvas(dc, std::max(1, width_), std::max(1, height_));
        BitBlt(canvas.dc(), 0, 0, width_, height_, dc, screen.left, screen.top, SRCCOPY);
        GdiFlush();
        pixels_.assign(canvas.pixels(), canvas.pixels() + std::size_t(width_) * height_);
    }
    ReleaseDC(nullptr, dc);
}

ScreenArea ScreenArea::OfClient(HWND hwnd) {
    RECT client{};
    GetClientRect(hwnd, &client);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return ScreenArea(client);
}

StyleColour ScreenArea::At(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) return {};
    std::uint32_t p = pixels_[std::size_t(y) * width_ + x];
    return {std::uint8_t(p >> 16), std::uint8_t(p >> 8), std::uint8_t(p)};
}

std::ostream& operator<<(std::ostream& out, const StyleColour& c) {
    return out << '#' << std::hex << std::uppercase << std::setfill('0') << std::setw(2) << int(c.red) << std::setw(2)
               << int(c.green) << std::setw(2) << int(c.blue) << std::dec;
}
