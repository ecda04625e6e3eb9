#include "platform/accessibility.h"

#include <windows.h>

namespace {
std::optional<bool> test_answer;
}  // namespace

bool HighContrastOn() {
    if (test_answer) return *test_answer;
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    if (!SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0)) return false;
    return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void SetHighContrastForTests(std::optional<bool> answer) { test_answer = answer; }
