#pragma once
// The launcher window: "Start", the "VPN" box, the two Wi-Fi buttons, the logo, the close glyph and "FILE".
#include "launcher/process_watch.h"
#include "launcher/start_wait.h"
#include "ui/background_work.h"
#include "ui/form.h"

#include <optional>
#include <string>

class SettingsDialog;

class LauncherWindow : public Form {
public:
    // `command_owner` owns the commands the launcher hands to the shell (the program's hidden window).
    LauncherWindow(FormOwner& owner, HWND command_owner);

    // The handlers its layout binds.
    void OpenSettings();
    void Exit();
    void Start();
    void JoinWifi();
    void LeaveWifi();
    void UseVpnChanged();
    void Closing(CloseAction& action);

    // The settings dialog while it lives; empty once the launcher has closed.
    SettingsDialog* Settings() const { return settings_; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    FormHandlers Handlers();
    void DialEnded(WPARAM number);
    // Does what the start's wait asks.
    void Apply(StartWait::Action action);
    // The taskbar, the pointer and the timer as the wait stands.
    void ShowWaitState();
    void OpenConnectionFile();
    void HangUpEnded(WPARAM number);
    void WifiJoinEnded(WPARAM number);
    void WifiLeaveEnded(WPARAM number);

    HWND command_owner_;
    CheckBox& use_vpn_;
    SettingsDialog* settings_ = nullptr;  // owned by the application
    ProcessWatch dials_;                  // the dials of "Start" still running
    ProcessWatch wifi_join_;              // the latest run of "CONNECT WiFi"
    ProcessWatch wifi_leave_;             // the latest run of "DISCONNECT WiFi"
    ProcessWatch hang_ups_;               // the latest hang-up

    StartWait start_wait_;  // from the dial until Kavlo.rdp is opened after it
    BackgroundWork background_work_;
    std::optional<std::wstring> dialled_entry_;  // the entry of the last dial, which the hang-up names
};
