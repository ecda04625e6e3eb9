#include "style_support.h"

#include "ui/resources.h"

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

std::ostream& operator<<(std::ostream& out, const StyleColour& c) {
    return out << '#' << std::hex << std::uppercase << std::setfill('0') << std::setw(2) << int(c.red) << std::setw(2)
               << int(c.green) << std::setw(2) << int(c.blue) << std::dec;
}
