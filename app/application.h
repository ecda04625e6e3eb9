#pragma once
// The application object: title, hidden application window, failure box, message loop and shutdown.
#include "platform/failure.h"
#include "ui/form.h"
#include "ui/handles.h"

#include <exception>
#include <memory>
#include <string>
#include <vector>

class Application final : public FormOwner {
public:
    // OLE for the thread, the title, the icon, the hidden window, and the failure box as failure handler.
    Application();
    // Exit processing: hides owned pop-ups, destroys the remaining forms newest first, then the hidden window.
    ~Application() override;

    // Start-up step 2 and 3: COM for the thread, and the main form on the taskbar.
    void Initialize();

    // Makes a form through the window-creation step; the first one made becomes the main form.
    template <typename F>
    F* CreateForm() {
        auto* form = new F(*this);
        if (!main_form_) main_form_ = form;
        return form;
    }

    // Shows the main form and runs the message loop until the quit message is taken.
    void Run();

    void ShowFailure(const Failure& failure);
    // Shows what escaped a guard: a Failure as it is, anything else as an empty failure.
    void HandleException(std::exception_ptr caught) noexcept;

    HWND Handle() const { return window_.get(); }
    const std::wstring& Title() const { return title_; }
    HICON Icon() const { return icon_; }

    // FormOwner
    void InsertComponent(Form& form) override;
    void RemoveComponent(Form& form) override;
    Form* MainForm() const override { return main_form_; }
    void Terminate() override;
    bool Terminating() const override { return terminating_; }

private:
    static LRESULT CALLBACK HiddenWindowProcedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) noexcept;
    LRESULT HandleHiddenMessage(UINT message, WPARAM wparam, LPARAM lparam);
    void ExitProcessing() noexcept;

    std::wstring title_;
    HICON icon_ = nullptr;  // a shared resource icon: not destroyed
    WindowHandle window_;
    std::vector<Form*> components_;  // owned: created through the application, deleted here unless deleted before
    Form* main_form_ = nullptr;
    bool terminating_ = false;
    bool in_loop_ = false;
    bool com_initialized_ = false;
    bool exited_ = false;
};

// The one application object of the process.
Application& App();
