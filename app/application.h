#pragma once
// The application object: title, hidden application window, the forms it owns, failure box, message loop and
// shutdown.
#include "platform/failure.h"
#include "ui/form.h"

#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class Application final : public FormOwner {
public:
    // OLE for the thread, the title, the icon, and the failure box as failure handler.
    Application();
    // Exit processing: hides owned pop-ups, destroys the remaining forms (the main form last), then the hidden window.
    ~Application() override;

    // COM for the thread, the hidden window, and the taskbar button left to the main form.
    void Initialize();

    // Makes the main form, the one whose close ends the program.
    template <typename F, typename... Arguments>
    F& CreateMainForm(Arguments&&... arguments) {
        F& form = CreateForm<F>(std::forward<Arguments>(arguments)...);
        main_form_ = &form;
        return form;
    }

    // Shows the main form and runs the message loop until the quit message is taken.
    void Run();

    void ShowFailure(const Failure& failure);
    // Shows what escaped a guard: a Failure as it is, anything else as an empty failure.
    void HandleException(const std::exception_ptr& caught) noexcept;

    HWND Handle() const;
    const std::wstring& Title() const { return title_; }
    HICON Icon() const { return icon_; }
    const std::vector<std::unique_ptr<Form>>& Forms() const { return forms_; }

    // FormOwner
    void DestroyForm(Form& form) override;
    void ModalShowEnded(Form& form) override;
    Form* MainForm() const override { return main_form_; }
    void Terminate() override;
    bool Terminating() const override { return terminating_; }

protected:
    void Adopt(std::unique_ptr<Form> form) override;

private:
    class HiddenWindow;
    // What the hidden window does with a message; nothing for the default handling.
    std::optional<LRESULT> HandleHiddenMessage(UINT message, WPARAM wparam);
    void ReleaseRetiredForms();
    void EndModes();
    void ExitProcessing() noexcept;

    std::wstring title_;
    HICON icon_ = nullptr;  // a shared resource icon: not destroyed
    std::unique_ptr<HiddenWindow> window_;
    std::vector<std::unique_ptr<Form>> forms_;    // oldest first
    std::vector<std::unique_ptr<Form>> retired_;  // destroyed while modal: they go once their modal show returned
    Form* main_form_ = nullptr;
    bool terminating_ = false;
    bool in_loop_ = false;
    bool com_initialized_ = false;
    bool exited_ = false;
};

// The one application object of the process.
Application& App();
