#include "platform/accessibility.h"

#include <windows.h>

namespace {
std::optional<bool> test_answer;
std::optional<int> test_caret_width;
}  // namespace

bool HighContrastOn() {
    if (test_answer) return *test_answer;
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0)) return false;
    return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void SetHighContrastForTests(std::optional<bool> answer) { test_answer = answer; }

int CaretWidth() {
    if (test_caret_width) return *test_caret_width;
    DWORD width = 1;
    if (!SystemParametersInfoW(SPI_GETCARETWIDTH, 0, &width, 0)) return 1;
    return width > 0 ? static_cast<int>(width) : 1;
}

void SetCaretWidthForTests(std::optional<int> answer) { test_caret_width = answer; }
