#include "settings/Unit2.h"

Tsetup_frm::Tsetup_frm(FormOwner& AOwner)
    : Form(AOwner, L"TSETUP_FRM", Handlers()),
      Label1(Find<TLabel>(L"Label1")),
      Edit1(Find<TEdit>(L"Edit1")),
      Label2(Find<TLabel>(L"Label2")),
      Edit2(Find<TEdit>(L"Edit2")),
      Label3(Find<TLabel>(L"Label3")),
      Edit3(Find<TEdit>(L"Edit3")),
      Label4(Find<TLabel>(L"Label4")),
      Edit4(Find<TEdit>(L"Edit4")),
      Panel1(Find<TPanel>(L"Panel1")),
      Button1(Find<TButton>(L"Button1")),
      Button2(Find<TButton>(L"Button2")),
      Edit5(Find<TEdit>(L"Edit5")),
      Label5(Find<TLabel>(L"Label5")),
      Memo1(Find<TMemo>(L"Memo1")),
      Memo2(Find<TMemo>(L"Memo2")),
      CheckBox2(Find<TCheckBox>(L"CheckBox2")) {}

// The handlers are bound before the members exist; they only run once the dialog is built.
FormHandlers Tsetup_frm::Handlers() {
    FormHandlers handlers;
    handlers.events[L"Button1Click"] = [this] { Button1Click(); };
    handlers.events[L"Button2Click"] = [this] { Button2Click(); };
    return handlers;
}

// "Save"
void Tsetup_frm::Button1Click() { Close(); }

// "Cancel"
void Tsetup_frm::Button2Click() { Close(); }
