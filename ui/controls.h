#pragma once
// The controls a layout can hold. Each is a real Windows control (BUTTON, EDIT, STATIC) or a plain
// container window; the object keeps its name, place and handlers.
#include "ui/handles.h"
#include "ui/layout.h"
#include "ui/picture.h"
#include "ui/window.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Form;

enum class Dock { None, Top, Bottom, Left, Right, Client };

class Control {
public:
    Control(Form& form, Control* parent, const LayoutObject& layout);
    Control(const Control&) = delete;
    Control& operator=(const Control&) = delete;
    virtual ~Control();

    const std::wstring& Name() const { return name_; }
    HWND Handle() const { return hwnd_; }
    Control* Parent() const { return parent_; }
    Form& OwnerForm() const { return form_; }
    int TabOrder() const { return tab_order_; }
    // The sibling this label names (the layout's FocusControl); empty for any other control.
    const std::wstring& FocusControl() const { return focus_control_; }
    bool Visible() const { return visible_; }
    const std::vector<std::unique_ptr<Control>>& Children() const { return children_; }

    // Creates the window, then the children's. Docked controls take their place from the parent first.
    void CreateWindows(HWND parent_window);
    // Keyboard order follows the z-order of siblings: those without a tab order on top, in the layout's order,
    // then the others by their tab order, each right after the label that names it: screen readers name a field
    // after the static text just before it in the z-order, and a label takes no focus, so the keyboard order
    // stays. Windows are made in this order, so that they need no restacking.
    static std::vector<Control*> StackingOrder(const std::vector<std::unique_ptr<Control>>& controls);

    // Docked controls share out the container's inner area; the others keep their place.
    static void Arrange(const std::vector<std::unique_ptr<Control>>& controls, const RECT& inner);
    virtual RECT InnerArea() const;

    // Notifications that the parent window passes on.
    virtual void Command(WORD /*code*/) {}
    virtual bool DrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }

    static Control* FromHandle(HWND hwnd);

protected:
    virtual HWND CreateControl(HWND parent_window, const RECT& bounds, int id) = 0;
    void RunHandler(const std::function<void()>& handler) const {
        if (handler) handler();
    }
    const std::wstring& Caption() const { return caption_; }
    std::function<void()> Handler(const LayoutObject& layout, const wchar_t* event) const;
    HWND CreateStandard(const wchar_t* class_name, DWORD ex_style, DWORD style, const std::wstring& text,
                        HWND parent_window, const RECT& bounds, int id);
    RECT bounds_{};

private:
    Form& form_;
    Control* parent_;
    std::wstring name_;
    std::wstring caption_;
    Dock dock_ = Dock::None;
    int tab_order_ = -1;
    std::wstring focus_control_;
    std::optional<std::wstring> accessible_name_;  // what screen readers read instead of the window text
    bool visible_ = true;
    HWND hwnd_ = nullptr;
    std::vector<std::unique_ptr<Control>> children_;
};

class Button : public Control {
public:
    Button(Form& form, Control* parent, const LayoutObject& layout);
    void Command(WORD code) override;
    void Click() const { RunHandler(on_click_); }

protected:
    HWND CreateControl(HWND parent_window, const RECT& bounds, int id) override;
    std::function<void()> on_click_;
};

// A push button that shows a picture instead of text.
class BitmapButton : public Button {
public:
    BitmapButton(Form& form, Control* parent, const LayoutObject& layout);

protected:
    HWND CreateControl(HWND parent_window, const RECT& bounds, int id) override;

private:
    Picture glyph_;
    IconHandle icon_;
};

// Two states. Every change of state runs the click handler, whether the user or the program made it.
class CheckBox : public Control {
public:
    CheckBox(Form& form, Control* parent, const LayoutObject& layout);
    bool Checked() const;
    void SetChecked(bool checked);
    void Command(WORD code) override;

protected:
    HWND CreateControl(HWND parent_window, const RECT& bounds, int id) override;

private:
    std::function<void()> on_click_;
    bool checked_ = false;  // the state until the window exists
};

class Edit : public Control {
public:
    Edit(Form& form, Control* parent, const LayoutObject& layout);
    std::wstring Text() const;
    void SetText(const std::wstring& text);

protected:
    HWND CreateControl(HWND parent_window, const RECT& bounds, int id) override;
    std::wstring text_;  // the text until the window exists
};

// A multi-line text field without word wrap; its lines come from the layout, each followed by CR LF.
class Memo : public Edit {
public:
    Memo(Form& form, Control* parent, const LayoutObject& layout);

protected:
    HWND CreateControl(HWND parent_window, const RECT& bounds, int id) override;
};

// A text label that sizes itself to its caption.
class Label : public Control {
public:
    using Control::Control;

protected:
    HWND CreateControl(HWND parent_window, const RECT& bounds, int id) override;
};

// A container with a one-pixel raised edge and an optional centred caption.
class Panel : public Control {
public:
    using Control::Control;
    RECT InnerArea() const override;

protected:
    HWND CreateControl(HWND parent_window, const RECT& bounds, int id) override;

private:
    class PanelWindow : public Window {
    public:
        explicit PanelWindow(Panel& panel) : panel_(panel) {}
        HWND Create(HWND parent_window, const RECT& bounds, int id);

    protected:
        LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

    private:
        Panel& panel_;
    };
    PanelWindow window_{*this};
};

// A picture drawn unscaled at the top-left corner; the rest shows the parent's background.
class Image : public Control {
public:
    Image(Form& form, Control* parent, const LayoutObject& layout);
    bool DrawItem(const DRAWITEMSTRUCT& item) override;

protected:
    HWND CreateControl(HWND parent_window, const RECT& bounds, int id) override;

private:
    Picture picture_;
};

// Makes the control for a layout object of a visual kind; nullptr for a kind that is not a control.
std::unique_ptr<Control> MakeControl(Form& form, Control* parent, const LayoutObject& layout);

// Routes the notifications a container receives from its children (commands, owner drawing).
bool RouteChildNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result);
