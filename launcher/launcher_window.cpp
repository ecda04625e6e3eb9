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
#include "settings/connection_file.h"
#include "settings/dial_values.h"
#include "settings/settings_dialog.h"
#include "ui/failure_report.h"

#include <utility>

namespace {
// Posted by the watches when a tool ends: wParam the run's number.
constexpr UINT kDialEnded = WM_APP;
constexpr UINT kWifiJoinEnded = WM_APP + 1;
constexpr UINT kWifiLeaveEnded = WM_APP + 2;
constexpr UINT kHangUpEnded = WM_APP + 3;

// A rasdial waiting on its hidden console for a password never ends.
constexpr DWORD kDialWatchedFor = 120000;
constexpr DWORD kNetshWatchedFor = 30000;
constexpr DWORD kHangUpWatchedFor = 30000;

// Kavlo.rdp is opened once the dial has ended, never sooner than a second after it began (the route may take that
// long to follow the connection), and at the latest after a minute, whether the dial has ended or not.
constexpr UINT_PTR kWaitTimer = 1;
constexpr UINT kLeastWait = 1000;
constexpr UINT kLongestWait = 60000;

// rasdial's exit code for a second dial while the first is still dialling: no failure of the connection.
constexpr DWORD kAlreadyBeingDialled = 756;
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
      wifi_leave_(WatchedRuns::LatestOnly, kNetshWatchedFor),
      hang_ups_(WatchedRuns::LatestOnly, kHangUpWatchedFor) {
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
    hang_ups_.Stop();
    EndStart();                                                  // nothing is opened after the launcher has closed
    SettingsDialog* dialog = std::exchange(settings_, nullptr);  // input before the loop ends must not reach it
    if (dialog) Owner().DestroyForm(*dialog);
}

// "Start": the dial when the settings say so, then, once it has ended, the connection file (at once without the
// dial). The launcher answers meanwhile; a second "Start" does nothing until the file has been opened.
void LauncherWindow::Start() {
    if (!settings_ || starting_) return;
    if (!settings_->UsesVpn()) {
        OpenConnectionFile();
        return;
    }
    std::wstring entry = settings_->VpnEntry();
    const std::wstring user = settings_->VpnUser();
    const std::wstring password = settings_->VpnPassword();
    if (const std::optional<std::wstring> refusal = DialValueRefusal(entry, user, password)) throw Failure(*refusal);
    const std::wstring parameters = DialParameters(entry, user, password);
    StartedTool dial = CurrentShell().StartTool(SystemToolPath(L"rasdial.exe").c_str(), parameters.c_str(), false);
    dialled_entry_ = entry;
    awaited_dial_ = dials_.Watch(std::move(dial), std::move(entry), Handle(), kDialEnded);
    starting_ = true;
    least_wait_over_ = false;
    SetTimer(Handle(), kWaitTimer, kLeastWait, nullptr);
    background_work_.Begin(Handle());
}

// The timer: first a second after the dial began, then a minute after.
void LauncherWindow::WaitTimeReached() {
    if (!starting_) {
        KillTimer(Handle(), kWaitTimer);
        return;
    }
    if (!least_wait_over_) {
        least_wait_over_ = true;
        if (awaited_dial_ == 0 && !reporting_dial_) {
            OpenConnectionFile();
            return;
        }
        SetTimer(Handle(), kWaitTimer, kLongestWait - kLeastWait, nullptr);
        return;
    }
    // A minute: the dial is left to run, watched; its failure is still reported when it ends.
    if (reporting_dial_) return;  // the box is up: the open follows it
    awaited_dial_ = 0;
    OpenConnectionFile();
}

// Kavlo.rdp by its full path in the current folder, where "Save" writes it; it is looked for nowhere else.
void LauncherWindow::OpenConnectionFile() {
    EndStart();
    const std::wstring path = FullPathOf(kConnectionFile);
    if (!FileExists(path)) throw Failure(ConnectionFileFailureText(path, SystemErrorText(ERROR_FILE_NOT_FOUND), true));
    if (const DWORD code = CurrentShell().ExecuteW(command_owner_, L"open", path.c_str(), L"", L"", SW_HIDE)) {
        const bool missing = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
        throw Failure(ConnectionFileFailureText(path, SystemErrorText(code), missing));
    }
}

// Ends a "Start" in progress without opening anything.
void LauncherWindow::EndStart() {
    if (!starting_) return;
    starting_ = false;
    awaited_dial_ = 0;
    KillTimer(Handle(), kWaitTimer);
    background_work_.End();
}

// A dial that ended with a RAS error number is shown in the failure box, with Windows' text for the number; a
// second dial refused because the first is still dialling is not, since the first may still connect. The dial
// "Start" waits for: its box first, and Kavlo.rdp opened once the user has closed it.
void LauncherWindow::DialEnded(WPARAM number) {
    const std::optional<ProcessWatch::Outcome> outcome = dials_.Ended(number);
    const bool awaited = starting_ && number == awaited_dial_;
    std::optional<Failure> failure;
    if (outcome && outcome->exit_code != 0 &&
        !(outcome->exit_code == kAlreadyBeingDialled && outcome->another_run_watched))
        failure.emplace(DialFailureText(outcome->subject, outcome->exit_code, RasErrorText(outcome->exit_code)));
    if (!awaited) {
        if (failure) throw *failure;
        return;
    }
    if (failure) {
        // Shown here rather than thrown, so that the open can follow the box.
        reporting_dial_ = true;
        ReportFailure(std::make_exception_ptr(*failure));
        reporting_dial_ = false;
        if (!starting_) return;  // the launcher closed meanwhile
    }
    awaited_dial_ = 0;
    if (least_wait_over_) OpenConnectionFile();
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
        case kHangUpEnded:
            HangUpEnded(wparam);
            return 0;
        case WM_TIMER:
            if (wparam != kWaitTimer) break;
            WaitTimeReached();
            return 0;
        case WM_SETCURSOR:
            if (background_work_.SetPointer(lparam)) return TRUE;
            break;
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
// watched are let go first: the hang-up ends them, and that is no failure; a "Start" waiting for its dial opens
// nothing. The hang-up names the entry last dialled, else the one typed in the settings.
void LauncherWindow::UseVpnChanged() {
    if (use_vpn_.Checked()) return;
    dials_.Stop();
    EndStart();
    const std::wstring typed = settings_ ? settings_->VpnEntry() : std::wstring();
    if (!dialled_entry_) {
        if (const std::optional<std::wstring> refusal = DialValueRefusal(typed, L"", L"")) throw Failure(*refusal);
    }
    std::wstring entry = dialled_entry_ ? *dialled_entry_ : typed;
    const std::wstring parameters = HangUpParameters(dialled_entry_, typed);
    // As 8-bit text in the ANSI code page, as ever; an entry that code page cannot spell goes as the dial went.
    const std::string ansi_parameters = WideToAnsi(parameters);
    StartedTool hang_up =
        AnsiToWide(ansi_parameters) == parameters
            ? CurrentShell().StartToolA(SystemToolPathA("rasdial.exe").c_str(), ansi_parameters.c_str())
            : CurrentShell().StartTool(SystemToolPath(L"rasdial.exe").c_str(), parameters.c_str(), false);
    hang_ups_.Watch(std::move(hang_up), entry.empty() ? L"Kavlo" : std::move(entry), Handle(), kHangUpEnded);
}

// A hang-up that failed for another reason than there being no such connection, in Windows' words.
void LauncherWindow::HangUpEnded(WPARAM number) {
    const std::optional<ProcessWatch::Outcome> outcome = hang_ups_.Ended(number);
    if (!outcome || !HangUpFailed(outcome->exit_code)) return;
    throw Failure(HangUpFailureText(outcome->subject, outcome->exit_code, RasErrorText(outcome->exit_code)));
}
