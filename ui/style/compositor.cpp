#include "ui/style/compositor.h"

#include "platform/system_library.h"

namespace {
// dwmapi.h's numbers: the attributes and their values.
constexpr DWORD kRenderingPolicy = 2;         // DWMWA_NCRENDERING_POLICY
constexpr DWORD kCornerPreference = 33;       // DWMWA_WINDOW_CORNER_PREFERENCE, Windows 11 (build 22000) on
constexpr DWORD kBorderColour = 34;           // DWMWA_BORDER_COLOR, Windows 11 (build 22000) on
constexpr DWORD kColourDefault = 0xFFFFFFFF;  // DWMWA_COLOR_DEFAULT
constexpr DWORD kPolicyFromWindowStyle = 0;   // DWMNCRP_USEWINDOWSTYLE
constexpr DWORD kPolicyDisabled = 1;          // DWMNCRP_DISABLED
constexpr DWORD kCornersDefault = 0;          // DWMWCP_DEFAULT
constexpr DWORD kCornersSquare = 1;           // DWMWCP_DONOTROUND

using SetWindowAttribute = HRESULT(WINAPI*)(HWND, DWORD, LPCVOID, DWORD);

// DwmSetWindowAttribute, or none. Looked up once; the DLL stays loaded for the program's life.
SetWindowAttribute SetAttribute() {
    static const SystemLibrary dwmapi(L"dwmapi.dll");
    static const auto function = dwmapi.Find<SetWindowAttribute>("DwmSetWindowAttribute");
    return function;
}

void Set(HWND hwnd, DWORD attribute, DWORD value) {
    // A refusal (E_INVALIDARG for the corners before Windows 11) leaves the window as it was: nothing to do.
    if (SetWindowAttribute set = SetAttribute()) set(hwnd, attribute, &value, sizeof value);
}
}  // namespace

void SetProgramDrawsFrame(HWND hwnd, bool program_draws) {
    Set(hwnd, kRenderingPolicy, program_draws ? kPolicyDisabled : kPolicyFromWindowStyle);
}

void SetSquareCorners(HWND hwnd, bool square) {
    Set(hwnd, kCornerPreference, square ? kCornersSquare : kCornersDefault);
}

void SetBorderColour(HWND hwnd, std::optional<COLORREF> colour) {
    Set(hwnd, kBorderColour, colour ? static_cast<DWORD>(*colour) : kColourDefault);
}

void ChangeFrame(HWND hwnd) {
    SetWindowPos(hwnd, nullptr, 0, 0, 0, 0,
                 SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOOWNERZORDER | SWP_NOACTIVATE);
}
