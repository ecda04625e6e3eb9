#include "ui/window_text.h"

#include <array>

std::wstring WindowText(HWND hwnd) {
    // A field or caption fits a small buffer: one WM_GETTEXT. A text that fills it may be longer, and is asked
    // for its length first.
    std::array<wchar_t, 256> buffer{};
    const int copied = GetWindowTextW(hwnd, buffer.data(), static_cast<int>(buffer.size()));
    if (copied < static_cast<int>(buffer.size()) - 1) return {buffer.data(), static_cast<std::size_t>(copied)};
    const int length = GetWindowTextLengthW(hwnd);
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), length + 1)));
    return text;
}
