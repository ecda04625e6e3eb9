#include "launcher/Min_ucn.h"

#include "app/application.h"
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
#include "settings/Unit2.h"

#include <cstdio>
#include <optional>
#include <utility>

TForm1* Form1 = nullptr;

namespace {
// Posted by the dial's watch when the dial ends: wParam the watch's number, lParam 1 when it was given up.
constexpr UINT kDialEnded = WM_APP;
// Posted by the Wi-Fi buttons' watches when netsh ends: wParam the run's number.
constexpr UINT kWifiJoinEnded = WM_APP + 1;
constexpr UINT kWifiLeaveEnded = WM_APP + 2;

// rasdial's exit code for a second dial while the first is still dialling: no failure of the connection.
constexpr DWORD kAlreadyBeingDialled = 756;
}  // namespace

TForm1::TForm1(FormOwner& AOwner)
    : Form(AOwner, L"TFORM1", Handlers()),
      Panel1(Find<TPanel>(L"Panel1")),
      CheckBox2(Find<TCheckBox>(L"CheckBox2")),
      BitBtn1(Find<TBitBtn>(L"BitBtn1")),
      Panel2(Find<TPanel>(L"Panel2")),
      Panel4(Find<TPanel>(L"Panel4")),
      Image1(Find<TImage>(L"Image1")),
      Button3(Find<TButton>(L"Button3")),
      Button4(Find<TButton>(L"Button4")),
      Panel3(Find<TPanel>(L"Panel3")),
      Button1(Find<TButton>(L"Button1")) {
    // The dialog belongs to the application, not to this window; only the pointer is kept here.
    {
        StartupStep step(L"settings dialog, made hidden");
        SetupForm = new Tsetup_frm(AOwner);
    }
    // Mirrors the stored use-VPN flag once; a change runs CheckBox2Click, which does nothing when ticked.
    CheckBox2.SetChecked(SetupForm->CheckBox2.Checked());
}

FormHandlers TForm1::Handlers() {
    FormHandlers handlers;
    handlers.events[L"N2Click"] = [this] { N2Click(); };
    handlers.events[L"N4Click"] = [this] { N4Click(); };
    handlers.events[L"BitBtn1Click"] = [this] { BitBtn1Click(); };
    handlers.events[L"Button1Click"] = [this] { Button1Click(); };
    handlers.events[L"Button3Click"] = [this] { Button3Click(); };
    handlers.events[L"Button4Click"] = [this] { Button4Click(); };
    handlers.events[L"CheckBox2Click"] = [this] { CheckBox2Click(); };
    handlers.close[L"FormClose"] = [this](CloseAction& action) { FormClose(action); };
    return handlers;
}

// "تنظیمات سرور"
void TForm1::N2Click() {
    if (SetupForm) SetupForm->ShowModal();
}

// "خروج"
void TForm1::N4Click() { Close(); }

void TForm1::BitBtn1Click() { Close(); }

// Deletes the dialog without storing anything; the close action is left as it came. A dial still running is
// left to run, unreported.
void TForm1::FormClose(CloseAction&) {
    dial_watch_.Stop();
    wifi_join_watch_.Stop();
    wifi_leave_watch_.Stop();
    Tsetup_frm* dialog = SetupForm;
    SetupForm = nullptr;  // input that arrives before the loop ends must not reach the deleted dialog
    delete dialog;
}

// "Start": the dial when the dialog says so, a pause for the connection to come up, then the connection file.
// The dial is watched; its failure is reported when it ends (DialEnded). A connection file the shell cannot open
// is reported at once.
void TForm1::Button1Click() {
    if (!SetupForm) return;
    Shell& shell = CurrentShell();
    if (SetupForm->CheckBox2.Checked()) {
        std::wstring entry = SetupForm->Edit2.Text();
        std::wstring parameters = DialParameters(entry, SetupForm->Edit3.Text(), SetupForm->Edit4.Text());
        StartedTool dial = shell.StartTool(SystemToolPath(L"rasdial.exe").c_str(), parameters.c_str(), false);
        dial_watch_.Watch(std::move(dial.process), std::move(entry), Handle(), kDialEnded);
        shell.Pause(1000);
    }
    if (const DWORD code = shell.ExecuteW(App().Handle(), L"open", L"Kavlo.rdp", L"", L"", SW_HIDE)) {
        const bool missing = code == ERROR_FILE_NOT_FOUND || code == ERROR_PATH_NOT_FOUND;
        throw Failure(ConnectionFileFailureText(FullPathOf(L"Kavlo.rdp"), SystemErrorText(code), missing));
    }
}

// A dial that ended with a RAS error number is shown in the failure box, with Windows' text for the number; a
// second dial refused because the first is still dialling is not, since the first may still connect.
void TForm1::DialEnded(WPARAM number, LPARAM timed_out) {
    std::optional<DialWatch::Outcome> outcome = dial_watch_.Ended(number, timed_out);
    if (!outcome || outcome->exit_code == 0) return;
    if (outcome->exit_code == kAlreadyBeingDialled && outcome->another_dial_watched) return;
    throw Failure(DialFailureText(outcome->entry, outcome->exit_code, RasErrorText(outcome->exit_code)));
}

void TForm1::WifiJoinEnded(WPARAM number) {
    std::optional<ToolWatch::Outcome> outcome = wifi_join_watch_.Ended(number);
    if (!outcome || outcome->exit_code == 0) return;
    throw Failure(WifiJoinFailureText(wifi_join_network_, outcome->exit_code, OemToWide(outcome->printed)));
}

void TForm1::WifiLeaveEnded(WPARAM number) {
    std::optional<ToolWatch::Outcome> outcome = wifi_leave_watch_.Ended(number);
    if (!outcome || outcome->exit_code == 0) return;
    throw Failure(WifiLeaveFailureText(outcome->exit_code, OemToWide(outcome->printed)));
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
        case kDialEnded:
            DialEnded(wparam, lparam);
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

// "CONNECT WiFi": netsh's exit code and what it printed are read when it ends (WifiJoinEnded).
void TForm1::Button3Click() {
    if (!SetupForm) return;
    std::wstring network = SetupForm->Edit1.Text();
    std::wstring parameters = JoinWifiParameters(network);
    StartedTool netsh = CurrentShell().StartTool(SystemToolPath(L"netsh.exe").c_str(), parameters.c_str(), true);
    wifi_join_network_ = std::move(network);
    wifi_join_watch_.Watch(std::move(netsh), Handle(), kWifiJoinEnded);
}

// "DISCONNECT WiFi"
void TForm1::Button4Click() {
    StartedTool netsh = CurrentShell().StartTool(SystemToolPath(L"netsh.exe").c_str(), L"wlan disconnect", true);
    wifi_leave_watch_.Watch(std::move(netsh), Handle(), kWifiLeaveEnded);
}

// "VPN": clearing the box hangs up; ticking it does nothing (the dial belongs to "Start"). A dial still being
// watched is let go first: the hang-up ends it, and that is no failure.
void TForm1::CheckBox2Click() {
    if (CheckBox2.Checked()) return;
    dial_watch_.Stop();
    char parameters[32];
    std::sprintf(parameters, "Kavlo  /DISCONNECT");
    CurrentShell().StartToolA(SystemToolPathA("rasdial.exe").c_str(), parameters);
}
