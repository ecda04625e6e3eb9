#include "launcher/Min_ucn.h"

#include "app/application.h"
#include "launcher/command_lines.h"
#include "launcher/dial_failure_text.h"
#include "platform/ras_error_text.h"
#include "platform/shell.h"
#include "platform/startup_times.h"
#include "platform/system_tools.h"
#include "settings/Unit2.h"

#include <cstdio>
#include <optional>
#include <utility>

TForm1* Form1 = nullptr;

namespace {
// Posted by the dial's watch when the dial ends: wParam the watch's number, lParam 1 when it was given up.
constexpr UINT kDialEnded = WM_APP;
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
    Tsetup_frm* dialog = SetupForm;
    SetupForm = nullptr;  // input that arrives before the loop ends must not reach the deleted dialog
    delete dialog;
}

// "Start": the dial when the dialog says so, a pause for the connection to come up, then the connection file.
// The dial is watched; its failure is reported when it ends (DialEnded).
void TForm1::Button1Click() {
    if (!SetupForm) return;
    Shell& shell = CurrentShell();
    if (SetupForm->CheckBox2.Checked()) {
        std::wstring entry = SetupForm->Edit2.Text();
        std::wstring parameters = DialParameters(entry, SetupForm->Edit3.Text(), SetupForm->Edit4.Text());
        FileHandle dial = shell.ExecuteExW(App().Handle(), L"open", SystemToolPath(L"rasdial.exe").c_str(),
                                          parameters.c_str(), L"", SW_HIDE);
        dial_watch_.Watch(std::move(dial), std::move(entry), Handle(), kDialEnded);
        shell.Pause(1000);
    }
    shell.ExecuteW(App().Handle(), L"open", L"Kavlo.rdp", L"", L"", SW_HIDE);
}

// A dial that ended with a RAS error number is shown in the failure box, with Windows' text for the number.
void TForm1::DialEnded(WPARAM number, LPARAM timed_out) {
    std::optional<DialWatch::Outcome> outcome = dial_watch_.Ended(number, timed_out);
    if (!outcome || outcome->exit_code == 0) return;
    throw Failure(DialFailureText(outcome->entry, outcome->exit_code, RasErrorText(outcome->exit_code)));
}

LRESULT TForm1::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == kDialEnded) {
        DialEnded(wparam, lparam);
        return 0;
    }
    return Form::HandleMessage(message, wparam, lparam);
}

// "CONNECT WiFi"
void TForm1::Button3Click() {
    if (!SetupForm) return;
    std::wstring parameters = JoinWifiParameters(SetupForm->Edit1.Text());
    CurrentShell().ExecuteW(App().Handle(), L"open", SystemToolPath(L"netsh.exe").c_str(), parameters.c_str(), L"",
                             SW_HIDE);
}

// "DISCONNECT WiFi"
void TForm1::Button4Click() {
    CurrentShell().ExecuteW(App().Handle(), L"open", SystemToolPath(L"netsh.exe").c_str(), L"wlan disconnect", L"",
                             SW_HIDE);
}

// "VPN": clearing the box hangs up; ticking it does nothing (the dial belongs to "Start").
void TForm1::CheckBox2Click() {
    if (CheckBox2.Checked()) return;
    char parameters[32];
    std::sprintf(parameters, "Kavlo  /DISCONNECT");
    CurrentShell().ExecuteA(App().Handle(), "open", SystemToolPathA("rasdial.exe").c_str(), parameters, "", SW_HIDE);
}
