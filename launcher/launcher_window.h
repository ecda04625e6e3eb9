#pragma once
// The launcher window: "Start", the "VPN" box, the two Wi-Fi buttons, the logo, the close glyph and "FILE".
#include "launcher/dial_advice.h"
#include "launcher/process_watch.h"
#include "ui/background_work.h"
#include "ui/form.h"

#include <map>
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
    void WaitTimeReached();
    void OpenConnectionFile();
    void EndStart();
    void HangUpEnded(WPARAM number);
    void WifiJoinEnded(WPARAM number);
    void WifiLeaveEnded(WPARAM number);

    HWND command_owner_;
    CheckBox& use_vpn_;
    Button& start_;
    Button& join_wifi_;
    Button& leave_wifi_;
    SettingsDialog* settings_ = nullptr;          // owned by the application
    ProcessWatch dials_;                          // the dials of "Start" still running
    std::map<WPARAM, DialSignIn> dial_sign_ins_;  // how each of them signs in, by its run's number
    ProcessWatch wifi_join_;                      // the latest run of "CONNECT WiFi"
    ProcessWatch wifi_leave_;                     // the latest run of "DISCONNECT WiFi"
    ProcessWatch hang_ups_;                       // the latest hang-up

    // "Start" in progress: from the dial until Kavlo.rdp is opened after it.
    bool starting_ = false;
    WPARAM awaited_dial_ = 0;       // the watched run of this start's dial; 0 once it has ended (or is not watched)
    bool least_wait_over_ = false;  // a second has passed since the dial began
    bool reporting_dial_ = false;   // the dial's failure box is up: the open follows it
    BackgroundWork background_work_;
    std::optional<std::wstring> dialled_entry_;  // the entry of the last dial, which the hang-up names
};
