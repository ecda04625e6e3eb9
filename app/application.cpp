#include "app/application.h"

#include "app/failure_box.h"
#include "app/title_rule.h"
#include "platform/accessible_names.h"
#include "platform/failure_text.h"
#include "platform/startup_times.h"
#include "ui/failure_report.h"
#include "ui/program_icon.h"
#include "ui/style/style.h"
#include "ui/window.h"
#include "ui/window_classes.h"

#include <algorithm>
#include <objbase.h>
#include <ole2.h>
#include <utility>

namespace {
// Posted to the hidden window when the user turned high contrast on or off.
constexpr UINT kFollowHighContrast = WM_APP;
// Posted to the hidden window when a form destroyed during its modal show has seen that show return.
constexpr UINT kReleaseRetiredForms = WM_APP + 1;
Application* the_application = nullptr;

std::wstring LowerCase(std::wstring text) {
    if (!text.empty()) CharLowerBuffW(text.data(), static_cast<DWORD>(text.size()));
    return text;
}

std::wstring ModulePath() {
    wchar_t path[256] = {};  // room for 256: a longer path is cut to its first 255 characters
    GetModuleFileNameW(nullptr, path, 256);
    return path;
}
}  // namespace

// The window that owns message boxes when no window of the program is active, and the shell's commands.
class Application::HiddenWindow final : public Window {
public:
    explicit HiddenWindow(Application& application) : application_(application) {}
    void Create(const std::wstring& title) {
        CreateBound(kApplicationClassName, 0, WS_POPUP | WS_CAPTION | WS_CLIPSIBLINGS | WS_SYSMENU | WS_MINIMIZEBOX,
                    title, RECT{}, nullptr, nullptr);
    }

protected:
    LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
        const std::optional<LRESULT> handled = application_.HandleHiddenMessage(message, wparam);
        return handled ? *handled : Default(message, wparam, lparam);
    }

private:
    Application& application_;
};

Application& App() { return *the_application; }

Application::Application() {
    the_application = this;
    {
        StartupStep step(L"OLE initialisation");
        OleInitialize(nullptr);
    }
    StartupStep step(L"application title and icon");
    title_ = ApplicationTitle(ModulePath(), LowerCase);
    icon_ = ProgramIcon(IconSize::large);
    SetFailureHandler([this](const std::exception_ptr& caught) { HandleException(caught); });
}

Application::~Application() {
    ExitProcessing();
    SetFailureHandler(nullptr);
    the_application = nullptr;
}

void Application::Initialize() {
    {
        StartupStep step(L"COM initialisation");
        com_initialized_ = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    }
    StartupStep step(L"hidden application window");
    auto window = std::make_unique<HiddenWindow>(*this);
    window->Create(title_);
    window_ = std::move(window);
    // The main form owns the taskbar button: the hidden window becomes a tool window without a title.
    LONG_PTR ex_style = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex_style | WS_EX_TOOLWINDOW);
    SetWindowTextW(Handle(), L"");
}

HWND Application::Handle() const { return window_ ? window_->Handle() : nullptr; }
void Application::Run() {
    LONG_PTR ex_style = GetWindowLongPtrW(Handle(), GWL_EXSTYLE);
    SetWindowLongPtrW(Handle(), GWL_EXSTYLE, ex_style | WS_EX_NOACTIVATE);
    if (main_form_) main_form_->Show();
    in_loop_ = true;
    MSG message;
    if (StartupTimesWanted()) {
        {
            StartupStep step(L"the launcher's queue, up to idle (child windows paint)");
            while (PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE) && message.message != WM_QUIT)
                if (GetMessageW(&message, nullptr, 0, 0) > 0) Form::Dispatch(message);
        }
        WriteStartupTimes();
    }
    // A close that went through ends the loop even where a nested loop (a menu's, a move's, a box's) took the quit
    // message meant for it.
    while (!terminating_) {
        try {
            BOOL got = GetMessageW(&message, nullptr, 0, 0);
            if (got == 0 || got == -1) break;
            Form::Dispatch(message);
        } catch (...) {
            HandleException(std::current_exception());
        }
    }
    in_loop_ = false;
}

void Application::ShowFailure(const Failure& failure) {
    if (in_loop_) {
        if (GetCapture()) ReleaseCapture();
    }
    ShowFailureBox(Handle(), main_form_ ? main_form_->Handle() : nullptr, FailureBoxText(failure), title_);
}

void Application::HandleException(const std::exception_ptr& caught) noexcept {
    try {
        try {
            std::rethrow_exception(caught);
        } catch (const Failure& failure) {
            ShowFailure(failure);
        } catch (...) {
            ShowFailure(Failure(L""));  // not the program's failure type: an empty box
        }
    } catch (...) {
        // The box could not be shown (out of memory): nothing more can be done here.
    }
}

void Application::Adopt(std::unique_ptr<Form> form) { forms_.push_back(std::move(form)); }

void Application::DestroyForm(Form& form) {
    const auto found =
        std::find_if(forms_.begin(), forms_.end(), [&](const auto& owned) { return owned.get() == &form; });
    if (found == forms_.end()) return;
    std::unique_ptr<Form> destroyed = std::move(*found);
    forms_.erase(found);
    if (main_form_ == &form) {
        main_form_ = nullptr;
        terminating_ = false;
    }
    if (form.Modal()) {
        // Its modal loop is on the stack and would go on in a freed object: the show ends first, and the form
        // goes after it has returned.
        form.Close();
        retired_.push_back(std::move(destroyed));
    }
}

void Application::ModalShowEnded(Form& form) {
    if (std::any_of(retired_.begin(), retired_.end(), [&](const auto& retired) { return retired.get() == &form; }))
        PostMessageW(Handle(), kReleaseRetiredForms, 0, 0);  // taken up once the show's caller has returned
}

void Application::ReleaseRetiredForms() {
    std::erase_if(retired_, [](const auto& retired) { return !retired->Modal(); });
}

// Also for a close repeated after the first: the quit message may have been taken by a nested loop.
void Application::Terminate() {
    terminating_ = true;
    EndModes();
    PostQuitMessage(0);
}

// A menu's loop goes on past the quit message (under Wine it takes it and keeps running), and a window's move or
// size loop takes it and ends without passing it on: the loops end first, and Run sees the close when control
// returns to it.
void Application::EndModes() {
    EndMenu();
    if (HWND captured = GetCapture()) SendMessageW(captured, WM_CANCELMODE, 0, 0);
}

void Application::ExitProcessing() noexcept {
    if (exited_) return;
    exited_ = true;
    for (const auto& form : forms_)
        if (form->Handle() && GetWindow(form->Handle(), GW_OWNER) == Handle()) ShowWindow(form->Handle(), SW_HIDE);
    // The other forms first, the main form last.
    while (!forms_.empty()) {
        const auto newest =
            std::find_if(forms_.rbegin(), forms_.rend(), [this](const auto& form) { return form.get() != main_form_; });
        DestroyForm(newest != forms_.rend() ? **newest : *forms_.back());
    }
    retired_.clear();  // no modal loop runs any more
    window_.reset();
    ReleaseScreenReaderNames();
    if (com_initialized_) CoUninitialize();
    OleUninitialize();
}

std::optional<LRESULT> Application::HandleHiddenMessage(UINT message, WPARAM wparam) {
    switch (message) {
        case WM_CLOSE:
            if (main_form_) main_form_->Close();
            return 0;
        case WM_SETTINGCHANGE:
            if (wparam != SPI_SETHIGHCONTRAST) return std::nullopt;
            [[fallthrough]];
        case WM_SYSCOLORCHANGE:
            // Taken up from the loop, after every window has heard of the change.
            PostMessageW(Handle(), kFollowHighContrast, 0, 0);
            return 0;
        case kFollowHighContrast:
            FollowHighContrast();
            return 0;
        case kReleaseRetiredForms:
            ReleaseRetiredForms();
            return 0;
    }
    return std::nullopt;
}
