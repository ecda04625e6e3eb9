#pragma once
// The launcher window: "Start", the "VPN" box, the two Wi-Fi buttons, the logo, the close glyph and "FILE".
#include "launcher/dial_watch.h"
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
    Tsetup_frm* SetupForm = nullptr;
    DialWatch dial_watch_;  // the latest dial of "Start"
};

extern TForm1* Form1;
