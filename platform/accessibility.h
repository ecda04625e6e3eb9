#pragma once
// What the user has asked of Windows for their eyes. The program asks Windows; tests put their own answer in
// place, since the test system cannot turn high contrast on.
#include <optional>

// True when high contrast is on (SPI_GETHIGHCONTRAST, HCF_HIGHCONTRASTON).
bool HighContrastOn();

// Makes HighContrastOn give `answer` instead of asking Windows; nullopt asks Windows again.
void SetHighContrastForTests(std::optional<bool> answer);

// The text caret's width the user chose (SPI_GETCARETWIDTH), in pixels; at least 1.
int CaretWidth();

// Makes CaretWidth give `answer` instead of asking Windows; nullopt asks Windows again.
void SetCaretWidthForTests(std::optional<int> answer);
