#include "launcher/launcher_window.h"

#include "launcher/command_lines.h"
#include "launcher/dial_failure_text.h"
#include "launcher/open_failure_text.h"
#include "launcher/wifi_failure_text.h"
#include "platform/ansi_best_fit.h"
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

// The start's wait (StartWait) says when it is to fire.
constexpr UINT_PTR kWaitTimer = 1;
}  // namespace

LauncherWindow::LauncherWindow(FormOwner& owner, HWND command_owner)
    : Form(owner, L"LAUNCHER_WINDOW", Handlers()),
      command_owner_(command_owner),
      use_vpn_(Find<CheckBox>(L"CheckBox2")),
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
    start_wait_.Closed();  // nothing is opened after the launcher has closed
    ShowWaitState();
    SettingsDialog* dialog = std::exchange(settings_, nullptr);  // input before the loop ends must not reach it
    if (dialog) Owner().DestroyForm(*dialog);
}

// "Start": the dial when the settings say so, then, once it has ended, the connection file (at once without the
// dial). The launcher answers meanwhile; a second "Start" does nothing until the file has been opened.
void LauncherWindow::Start() {
    if (!settings_ || !start_wait_.MayStart()) return;
    if (!settings_->UsesVpn()) {
        Apply(start_wait_.Started());
        return;
    }
    std::wstring entry = settings_->VpnEntry();
    const std::wstring user = settings_->VpnUser();
    const std::wstring password = settings_->VpnPassword();
    if (const std::optional<std::wstring> refusal = DialValueRefusal(entry, user, password, AnsiBestFitReading))
        throw Failure(*refusal);
    const std::wstring parameters = DialParameters(entry, user, password);
    StartedTool dial = CurrentShell().StartTool(SystemToolPath(L"rasdial.exe").c_str(), parameters.c_str(), false);
    dialled_entry_ = entry;
    const bool other_dials_watched = dials_.Watching();
    const WPARAM run = dials_.Watch(std::move(dial), std::move(entry), Handle(), kDialEnded);
    dial_sign_ins_[run] = user.empty() && password.empty() ? DialSignIn::SavedInWindows : DialSignIn::Typed;
    Apply(start_wait_.DialStarted(GetTickCount64(), run, other_dials_watched));
}

void LauncherWindow::Apply(StartWait::Action action) {
    switch (action.kind) {
        case StartWait::Action::Kind::Nothing:
        case StartWait::Action::Kind::ShowDialFailure:  // DialEnded's own
            break;
        case StartWait::Action::Kind::SetTimer:
            if (!SetTimer(Handle(), kWaitTimer, static_cast<UINT>(action.timer), nullptr)) {
                const DWORD error = GetLastError();
                start_wait_.Abandoned();
                ShowWaitState();
                throw Failure(
                    L"Kavlo.rdp will not be opened after the dial: Windows could not set the timer to wait "
                    L"for it (" +
                    SystemErrorText(error) + L"). Press \"Start\" again once the VPN is connected");
            }
            break;
        case StartWait::Action::Kind::OpenNow:
            ShowWaitState();
            OpenConnectionFile();
            return;
    }
    ShowWaitState();
}

void LauncherWindow::ShowWaitState() {
    if (start_wait_.Waiting()) {
        if (!background_work_.Running()) background_work_.Begin(Handle());
        return;
    }
    KillTimer(Handle(), kWaitTimer);
    background_work_.End();
}

// Kavlo.rdp by its full path in the current folder, where "Save" writes it; it is looked for nowhere else. Not
// while it still holds the template's example address for a blank server: that address may reach the router.
void LauncherWindow::OpenConnectionFile() {
    const std::wstring path = FullPathOf(kConnectionFile);
    if (!FileExists(path)) throw Failure(ConnectionFileFailureText(path, SystemErrorText(ERROR_FILE_NOT_FOUND), true));
    if (settings_ && settings_->ConnectionFileLacksServer(path)) throw Failure(MissingServerAddressText());
    const DWORD code = CurrentShell().ExecuteW(command_owner_, L"open", path.c_str(), L"", L"", SW_HIDE);
    // The user cancelled a prompt of the shell's (a downloaded file's warning): their choice, no failure.
    if (code == ERROR_SUCCESS || code == ERROR_CANCELLED) return;
    const bool missing = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
    throw Failure(ConnectionFileFailureText(path, SystemErrorText(code), missing));
}

// A dial that ended with a RAS error number is shown in the failure box, with Windows' text for the number; the
// start's wait says which (not a second dial refused while the first still dialled) and whether Kavlo.rdp is opened
// once the user has closed the box.
void LauncherWindow::DialEnded(WPARAM number) {
    const std::optional<ProcessWatch::Outcome> outcome = dials_.Ended(number);
    const DialSignIn sign_in = dial_sign_ins_[number];
    dial_sign_ins_.erase(number);
    const std::optional<StartWait::DialOutcome> ended =
        outcome ? std::optional<StartWait::DialOutcome>({outcome->exit_code, outcome->stopped}) : std::nullopt;
    const StartWait::Action action = start_wait_.DialEnded(GetTickCount64(), number, ended);
    if (action.kind != StartWait::Action::Kind::ShowDialFailure) {
        Apply(action);
        return;
    }
    // Shown here rather than thrown, so that what follows the box can follow it.
    if (outcome) {
        const DWORD error = outcome->exit_code;
        ReportFailure(std::make_exception_ptr(
            Failure(outcome->stopped ? DialStoppedText(outcome->subject)
                                     : DialFailureText(outcome->subject, error, RasErrorText(error), sign_in))));
    }
    Apply(start_wait_.BoxClosed(GetTickCount64(), number));
}

void LauncherWindow::WifiJoinEnded(WPARAM number) {
    const std::optional<ProcessWatch::Outcome> outcome = wifi_join_.Ended(number);
    if (outcome && outcome->stopped) throw Failure(WifiJoinStoppedText(outcome->subject));
    if (!outcome || outcome->exit_code == 0) return;
    throw Failure(WifiJoinFailureText(outcome->subject, outcome->exit_code, OemToWide(outcome->printed)));
}

void LauncherWindow::WifiLeaveEnded(WPARAM number) {
    const std::optional<ProcessWatch::Outcome> outcome = wifi_leave_.Ended(number);
    if (outcome && outcome->stopped) throw Failure(WifiLeaveStoppedText());
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
            KillTimer(Handle(), kWaitTimer);  // each wait's timer fires once
            Apply(start_wait_.TimerFired(GetTickCount64()));
            return 0;
        case WM_SETCURSOR:
            if (background_work_.SetPointer(lparam)) return TRUE;
            break;
    }
    if (const UINT button_made = BackgroundWork::TaskbarButtonCreatedMessage(); button_made && message == button_made)
        background_work_.TaskbarButtonCreated();
    return Form::HandleMessage(message, wparam, lparam);
}

// "CONNECT WiFi": netsh's exit code and what it printed are read when it ends (WifiJoinEnded). While the last
// run is still watched, another press starts nothing.
void LauncherWindow::JoinWifi() {
    if (!settings_ || wifi_join_.Watching()) return;
    std::wstring network = settings_->WifiNetwork();
    if (const std::optional<std::wstring> refusal = WifiNetworkRefusal(network, AnsiBestFitReading))
        throw Failure(*refusal);
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
    dial_sign_ins_.clear();
    start_wait_.VpnCleared();
    ShowWaitState();
    const std::wstring typed = settings_ ? settings_->VpnEntry() : std::wstring();
    if (!dialled_entry_) {
        if (const std::optional<std::wstring> refusal = DialValueRefusal(typed, L"", L"", AnsiBestFitReading))
            throw Failure(*refusal);
    }
    std::wstring entry = HangUpEntry(dialled_entry_, typed);
    const std::wstring parameters = HangUpParameters(entry);
    // As 8-bit text in the ANSI code page, as ever; an entry that code page cannot spell goes as the dial went.
    const std::string ansi_parameters = WideToAnsi(parameters);
    StartedTool hang_up =
        AnsiToWide(ansi_parameters) == parameters
            ? CurrentShell().StartToolA(SystemToolPathA("rasdial.exe").c_str(), ansi_parameters.c_str())
            : CurrentShell().StartTool(SystemToolPath(L"rasdial.exe").c_str(), parameters.c_str(), false);
    hang_ups_.Watch(std::move(hang_up), std::move(entry), Handle(), kHangUpEnded);
}

// A hang-up that failed for another reason than there being no such connection, in Windows' words.
void LauncherWindow::HangUpEnded(WPARAM number) {
    const std::optional<ProcessWatch::Outcome> outcome = hang_ups_.Ended(number);
    if (outcome && outcome->stopped) throw Failure(HangUpStoppedText(outcome->subject));
    if (!outcome || !HangUpFailed(outcome->exit_code)) return;
    throw Failure(HangUpFailureText(outcome->subject, outcome->exit_code, RasErrorText(outcome->exit_code)));
}
