#pragma once
// The window classes the program registers, by the names other programs find its windows by (the tests, the
// benchmark and the screenshot helper among them).
inline constexpr wchar_t kFormClassName[] = L"KavloForm";
inline constexpr wchar_t kPanelClassName[] = L"KavloPanel";
inline constexpr wchar_t kApplicationClassName[] = L"KavloApplication";
