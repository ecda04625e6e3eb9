#include "launcher/launcher_window.h"

#include "launcher/command_lines.h"
#include "launcher/dial_failure_text.h"
#include "launcher/open_failure_text.h"
#include "launcher/wifi_failure_text.h"
#include "platform/files.h"
#include "platform/ras_error_text.h"
#include "platform/shell.h"
#include "platform/startup_times.h"
#include "platform/system_tools.h"
#include "platform/text.h"
#include "settings/settings_dialog.h"

#include <utility>

namespace {
// Posted by the watches when a tool ends: wParam the run's number.
constexpr UINT kDialEnded = WM_APP;
constexpr UINT kWifiJoinEnded = WM_APP + 1;
constexpr UINT kWifiLeaveEnded = WM_APP + 2;

// A rasdial waiting on its hidden console for a password never ends.
constexpr DWORD kDialWatchedFor = 120000;
constexpr DWORD kNetshWatchedFor = 30000;
// The pause after a dial, for the connection to come up.
constexpr DWORD kPauseAfterDial = 1000;

// rasdial's exit code for a second dial while the first is still dialling: no failure of the connection.
constexpr DWORD kAlreadyBeingDialled = 756;

// The hang-up's command line, in the ANSI code page: the fixed entry, two blanks, the switch.
constexpr char kHangUpParameters[] = "Kavlo  /DISCONNECT";
}  // namespace

LauncherWindow::LauncherWindow(FormOwner& owner, HWND command_owner)
    : Form(owner, L"LAUNCHER_WINDOW", Handlers()),
      command_owner_(command_owner),
      use_vpn_(Find<CheckBox>(L"CheckBox2")),
      start_(Find<Button>(L"Button1")),
      join_wifi_(Find<Button>(L"Button3")),
      leave_wifi_(Find<Button>(L"Button4")),
      dials_(WatchedRuns::Every, kDialWatchedFor),
      wifi_join_(WatchedRuns::LatestOnly, kNetshWatchedFor),
      wifi_leave_(WatchedRuns::LatestOnly, kNetshWatchedFor) {
    {
        StartupStep step(L"settings dialog, made hidden");
        settings_ = &owner.CreateForm<SettingsDialog>();
    }
    // Mirrors the stored use-VPN flag once; the change runs UseVpnChanged, which does nothing when ticked.
    use_vpn_.SetChecked(settings_->UsesVpn());
}

FormHandlers LauncherWindow::Handlers() {
    FormHandlers handlers;
    handlers.events[L"OpenSettings"] = [this] { OpenSettings(); };
    handlers.events[L"Exit"] = [this] { Exit(); };
    handlers.events[L"Start"] = [this] { Start(); };
    handlers.events[L"JoinWifi"] = [this] { JoinWifi(); };
    handlers.events[L"LeaveWifi"] = [this] { LeaveWifi(); };
    handlers.events[L"UseVpnChanged"] = [this] { UseVpnChanged(); };
    handlers.close[L"Closing"] = [this](CloseAction& action) { Closing(action); };
    return handlers;
}

// "تنظیمات سرور"
void LauncherWindow::OpenSettings() {
    if (settings_) settings_->ShowModal();
}

// "خروج" and the close glyph.
void LauncherWindow::Exit() { Close(); }

// Destroys the dialog without storing anything; the close action is left as it came. A tool still running is
// left to run, unreported.
void LauncherWindow::Closing(CloseAction&) {
    dials_.Stop();
    wifi_join_.Stop();
    wifi_leave_.Stop();
    SettingsDialog* dialog = std::exchange(settings_, nullptr);  // input before the loop ends must not reach it
    if (dialog) Owner().DestroyForm(*dialog);
}

// "Start": the dial when the settings say so, a pause for the connection to come up, then the connection file.
// The dial is watched; its failure is reported when it ends (DialEnded). A connection file the shell cannot open
// is reported at once.
void LauncherWindow::Start() {
    if (!settings_) return;
    Shell& shell = CurrentShell();
    if (settings_->UsesVpn()) {
        std::wstring entry = settings_->VpnEntry();
        const std::wstring parameters = DialParameters(entry, settings_->VpnUser(), settings_->VpnPassword());
        StartedTool dial = shell.StartTool(SystemToolPath(L"rasdial.exe").c_str(), parameters.c_str(), false);
        dials_.Watch(std::move(dial), std::move(entry), Handle(), kDialEnded);
        shell.Pause(kPauseAfterDial);
    }
    if (const DWORD code = shell.ExecuteW(command_owner_, L"open", L"Kavlo.rdp", L"", L"", SW_HIDE)) {
        const bool missing = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
        throw Failure(ConnectionFileFailureText(FullPathOf(L"Kavlo.rdp"), SystemErrorText(code), missing));
    }
}

// A dial that ended with a RAS error number is shown in the failure box, with Windows' text for the number; a
// second dial refused because the first is still dialling is not, since the first may still connect.
void LauncherWindow::DialEnded(WPARAM number) {
    const std::optional<ProcessWatch::Outcome> outcome = dials_.Ended(number);
    if (!outcome || outcome->exit_code == 0) return;
    if (outcome->exit_code == kAlreadyBeingDialled && outcome->another_run_watched) return;
    throw Failure(DialFailureText(outcome->subject, outcome->exit_code, RasErrorText(outcome->exit_code)));
}

void LauncherWindow::WifiJoinEnded(WPARAM number) {
    const std::optional<ProcessWatch::Outcome> outcome = wifi_join_.Ended(number);
    if (!outcome || outcome->exit_code == 0) return;
    throw Failure(WifiJoinFailureText(outcome->subject, outcome->exit_code, OemToWide(outcome->printed)));
}

void LauncherWindow::WifiLeaveEnded(WPARAM number) {
    const std::optional<ProcessWatch::Outcome> outcome = wifi_leave_.Ended(number);
    if (!outcome || outcome->exit_code == 0) return;
    throw Failure(WifiLeaveFailureText(outcome->exit_code, OemToWide(outcome->printed)));
}

LRESULT LauncherWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case kDialEnded:
            DialEnded(wparam);
            return 0;
        case kWifiJoinEnded:
            WifiJoinEnded(wparam);
            return 0;
        case kWifiLeaveEnded:
            WifiLeaveEnded(wparam);
            return 0;
    }
    return Form::HandleMessage(message, wparam, lparam);
}

// "CONNECT WiFi": netsh's exit code and what it printed are read when it ends (WifiJoinEnded). While the last
// run is still watched, another press starts nothing.
void LauncherWindow::JoinWifi() {
    if (!settings_ || wifi_join_.Watching()) return;
    std::wstring network = settings_->WifiNetwork();
    const std::wstring parameters = JoinWifiParameters(network);
    StartedTool netsh = CurrentShell().StartTool(SystemToolPath(L"netsh.exe").c_str(), parameters.c_str(), true);
    wifi_join_.Watch(std::move(netsh), std::move(network), Handle(), kWifiJoinEnded);
}

// "DISCONNECT WiFi", likewise one run at a time.
void LauncherWindow::LeaveWifi() {
    if (wifi_leave_.Watching()) return;
    StartedTool netsh = CurrentShell().StartTool(SystemToolPath(L"netsh.exe").c_str(), L"wlan disconnect", true);
    wifi_leave_.Watch(std::move(netsh), {}, Handle(), kWifiLeaveEnded);
}

// "VPN": clearing the box hangs up; ticking it does nothing (the dial belongs to "Start"). The dials still being
// watched are let go first: the hang-up ends them, and that is no failure.
void LauncherWindow::UseVpnChanged() {
    if (use_vpn_.Checked()) return;
    dials_.Stop();
    CurrentShell().StartToolA(SystemToolPathA("rasdial.exe").c_str(), kHangUpParameters);
}
