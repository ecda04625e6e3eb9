#pragma once
// The hand-made settings dialog: its controls, places and captions as its layout gives them, created hidden,
// each once at its final place and in its tab order; the two hidden template memos hold the connection file's
// 46 lines, as the program's do.
#include "hand_made_controls.h"

#include <string>

enum SettingsControl : int { kSaveId = 200, kCancelId };

struct SettingsWindows {
    HWND window = nullptr;
    HWND wifi = nullptr, server = nullptr, use_vpn = nullptr, entry = nullptr, user = nullptr, password = nullptr;
    HWND memo1 = nullptr, memo2 = nullptr;
};

SettingsWindows MakeSettingsWindows(const HandMadeShared& shared);

// Sets the six values from the settings file, where it holds them, as the program's start-up and "Cancel" do.
void RestoreSettings(const SettingsWindows& settings, const std::wstring& path);

// What the program's "Save" reads from the dialog before it writes: the template, the server address, the
// generated text twice, and the six values.
void ReadSettingsForSave(const SettingsWindows& settings);
