#pragma once
// A form: a top-level window whose controls, menu, pictures and handler bindings come from its layout,
// a text resource of the executable loaded when the form is constructed.
#include "platform/failure.h"
#include "ui/controls.h"
#include "ui/handles.h"
#include "ui/layout.h"
#include "ui/window.h"

#include <functional>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

class Form;

enum class CloseAction { None, Hide, Free };

// What owns the forms (the application): it makes them, keeps them until they are destroyed, and knows the main one.
class FormOwner {
public:
    virtual ~FormOwner() = default;
    // Makes a form of type F, given this owner and `arguments`, and keeps it. A form whose construction fails
    // leaves nothing behind.
    template <typename F, typename... Arguments>
    F& CreateForm(Arguments&&... arguments) {
        auto form = std::make_unique<F>(*this, std::forward<Arguments>(arguments)...);
        F& made = *form;
        Adopt(std::move(form));
        return made;
    }
    // Destroys a form made here, with its windows. A form showing modally has its modal show ended instead and goes
    // once that show has returned (ModalShowEnded), since its loop is still on the stack.
    virtual void DestroyForm(Form& form) = 0;
    // Called by a form as its modal show returns.
    virtual void ModalShowEnded(Form& form) = 0;
    virtual Form* MainForm() const = 0;
    // Closing the main form ends the program: the quit message is posted, the window stays until it is taken. Asked
    // again by every later close, since a nested loop may have taken that message.
    virtual void Terminate() = 0;
    virtual bool Terminating() const = 0;

protected:
    virtual void Adopt(std::unique_ptr<Form> form) = 0;
};

// When a form makes its windows: at once, or when it is first shown. Until then its controls keep their
// values themselves, and the form has no handle.
enum class FormWindows { AtOnce, WhenFirstShown };

// The handlers a form class offers to its layout, by name.
struct FormHandlers {
    std::map<std::wstring, std::function<void()>, std::less<>> events;
    std::map<std::wstring, std::function<void(CloseAction&)>, std::less<>> close;
};

class Form : public Window {
public:
    Form(FormOwner& owner, const std::wstring& layout_resource, FormHandlers handlers,
         FormWindows windows = FormWindows::AtOnce);
    ~Form() override;

    const std::wstring& Name() const { return name_; }
    FormOwner& Owner() const { return owner_; }

    // The control of that name and kind; a layout that lacks it is a failure naming the form.
    template <typename T>
    T& Find(std::wstring_view name) const {
        T* found = dynamic_cast<T*>(FindControl(name));
        if (!found) throw Failure(L"Layout " + layout_name_ + L" has no suitable control " + std::wstring(name));
        return *found;
    }
    Control* FindControl(std::wstring_view name) const;
    // A component without a window (such as a properties store), as its layout describes it.
    const LayoutObject& Component(std::wstring_view name) const;
    const std::wstring& LayoutName() const { return layout_name_; }
    std::function<void()> EventHandler(const std::wstring& name, int line) const;
    HFONT Font() const { return font_.get(); }

    void Show();
    void Hide();
    bool Visible() const;
    // Shows the form, disables the program's other windows and waits until the form closes. Always returns 2.
    int ShowModal();
    // Whether ShowModal's loop runs.
    bool Modal() const { return modal_; }
    // A modal form's show ends (it hides); any other form runs its close handler and hides, or, the main one, ends
    // the program.
    void Close();

    // One step of any message loop: the form's keyboard navigation first, else the usual translate and dispatch.
    static void Dispatch(MSG& message);

protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

private:
    void Build(const LayoutObject& layout);
    void MakeWindows();
    void AppendMenuItems(HMENU menu, const LayoutObject& layout);
    void SortTabOrder() const;
    void PlaceForModal();
    Control* FindIn(const std::vector<std::unique_ptr<Control>>& list, std::wstring_view name) const;
    static bool PreTranslate(MSG& message);

    FormOwner& owner_;
    FormHandlers handlers_;
    std::wstring layout_name_;
    std::wstring name_;
    std::vector<std::unique_ptr<Control>> controls_;
    std::vector<LayoutObject> components_;
    std::map<UINT, std::function<void()>> menu_commands_;
    std::function<void(CloseAction&)> on_close_;
    mutable std::set<std::wstring, std::less<>> bound_handlers_;  // the handlers the layout bound so far
    FontHandle font_;
    // The window as the layout describes it, made by MakeWindows.
    std::wstring caption_;
    DWORD style_ = 0, ex_style_ = 0;
    RECT bounds_{};
    int client_width_ = 0, client_height_ = 0;
    MenuHandle menu_;  // the menu bar until the window takes it
    bool windows_made_ = false;
    bool centre_on_main_form_ = false;
    bool shown_before_ = false;
    bool placed_on_screen_ = false;  // moved into the work area before it was first shown
    bool activated_before_ = false;
    HWND saved_focus_ = nullptr;
    bool modal_ = false;
    int modal_result_ = 0;
};
