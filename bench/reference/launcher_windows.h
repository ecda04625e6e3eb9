#pragma once
// The hand-made launcher: the launcher window's controls, places and captions as its layout gives them, each
// window created once at its final place and in its tab order, so nothing is moved or restacked after.
#include "hand_made_controls.h"

// Menu commands, numbered as the program numbers its menu items (the benchmark opens the settings by number).
constexpr WORD kSettingsCommand = 40000;
constexpr WORD kExitCommand = 40001;

enum LauncherControl : int { kCloseButtonId = 100, kLogoId, kVpnBoxId, kStartId, kConnectWifiId, kDisconnectWifiId };

struct LauncherWindows {
    HWND window = nullptr;
    HWND vpn = nullptr;      // the "VPN" check box
    HBITMAP logo = nullptr;  // 189 x 98, premultiplied: drawn with GdiAlphaBlend
    int logo_width = 0, logo_height = 0;
    HICON close_glyph = nullptr;  // the close button's picture
};

// Made hidden; the caller shows it.
LauncherWindows MakeLauncherWindows(const HandMadeShared& shared);
void DestroyLauncherWindows(LauncherWindows& launcher);
// WM_DRAWITEM of the logo: the face colour, then the picture at the top-left corner.
void DrawLogo(const LauncherWindows& launcher, const DRAWITEMSTRUCT& item);
