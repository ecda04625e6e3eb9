#pragma once
// The settings dialog: it holds the six connection settings in its controls for the whole run.
#include "settings/control_properties.h"
#include "settings/properties_store.h"
#include "ui/form.h"

#include <memory>
#include <vector>

class Tsetup_frm : public Form {
public:
    explicit Tsetup_frm(FormOwner& AOwner);

    TLabel& Label1;
    TEdit& Edit1;
    TLabel& Label2;
    TEdit& Edit2;
    TLabel& Label3;
    TEdit& Edit3;
    TLabel& Label4;
    TEdit& Edit4;
    TPanel& Panel1;
    TButton& Button1;
    TButton& Button2;
    TcxPropertiesStore cxPropertiesStore1;
    TEdit& Edit5;
    TLabel& Label5;
    TMemo& Memo1;
    TMemo& Memo2;
    TCheckBox& CheckBox2;

    void Button1Click();
    void Button2Click();

private:
    FormHandlers Handlers();
    std::vector<std::unique_ptr<ControlProperties>> bound_controls_;
};
