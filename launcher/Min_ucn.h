#pragma once
// The launcher window: "Start", the "VPN" box, the two Wi-Fi buttons, the logo, the close glyph and "FILE".
#include "launcher/dial_watch.h"
#include "launcher/tool_watch.h"
#include "ui/form.h"

class Tsetup_frm;

class TForm1 : public Form {
public:
    explicit TForm1(FormOwner& AOwner);

    TPanel& Panel1;
    TCheckBox& CheckBox2;
    TBitBtn& BitBtn1;
    TPanel& Panel2;
    TPanel& Panel4;
    TImage& Image1;
    TButton& Button3;
    TButton& Button4;
    TPanel& Panel3;
    TButton& Button1;

    void N2Click();
    void N4Click();
    void BitBtn1Click();
    void FormClose(CloseAction& Action);
    void Button1Click();
    void Button3Click();
    void Button4Click();
    void CheckBox2Click();

    // The settings dialog while it lives; empty once FormClose has deleted it.
    Tsetup_frm* SettingsDialog() const { return SetupForm; }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    FormHandlers Handlers();
    void DialEnded(WPARAM number, LPARAM timed_out);
    void WifiJoinEnded(WPARAM number);
    void WifiLeaveEnded(WPARAM number);
    Tsetup_frm* SetupForm = nullptr;
    DialWatch dial_watch_;          // the dials of "Start" still running
    ToolWatch wifi_join_watch_;     // the latest run of "CONNECT WiFi"
    std::wstring wifi_join_network_;
    ToolWatch wifi_leave_watch_;    // the latest run of "DISCONNECT WiFi"
};

extern TForm1* Form1;
