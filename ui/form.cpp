#include "ui/form.h"

#include "platform/startup_times.h"
#include "ui/disabled_windows.h"
#include "ui/placement.h"
#include "ui/rect_size.h"
#include "ui/resources.h"
#include "ui/window_classes.h"

#include <algorithm>
#include <optional>

Form::Form(FormOwner& owner, const std::wstring& layout_resource, FormHandlers handlers, FormWindows windows)
    : owner_(owner), handlers_(std::move(handlers)), layout_name_(layout_resource) {
    LayoutObject layout = [&] {
        StartupStep step(L"layout text, read and parsed");
        return ParseLayout(LoadTextResource(layout_resource), layout_name_);
    }();
    if (layout.kind != L"form")
        throw Failure(LayoutError(layout_name_, layout.line, L"the layout must start with a form"));
    Build(layout);
    if (windows == FormWindows::AtOnce) MakeWindows();
}

Form::~Form() {
    if (Handle()) DestroyWindow(Handle());  // the windows go before the control objects they point at
    controls_.clear();
}

std::function<void()> Form::EventHandler(const std::wstring& name, int line) const {
    auto found = handlers_.events.find(name);
    if (found == handlers_.events.end()) throw Failure(LayoutError(layout_name_, line, L"no handler " + name));
    bound_handlers_.insert(name);
    return found->second;
}

void Form::Build(const LayoutObject& layout) {
    name_ = layout.name;
    const std::wstring& ln = layout_name_;
    int font_height = layout.Number(L"FontHeight", ln).value_or(-11);
    {
        StartupStep step(L"font");
        font_.reset(CreateFontW(font_height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                                OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                layout.Text(L"FontName", L"Tahoma").c_str()));
    }
    {
        StartupStep step(L"control objects from the layout (pictures included)");
        for (const LayoutObject& child : layout.children) {
            if (child.kind == L"menu") continue;
            if (child.kind == L"store") {
                components_.push_back(child);
                continue;
            }
            std::unique_ptr<Control> control = MakeControl(*this, nullptr, child);
            if (!control) throw Failure(LayoutError(ln, child.line, L"unknown control kind " + child.kind));
            controls_.push_back(std::move(control));
        }
    }
    if (const LayoutProperty* close = layout.Find(L"OnClose")) {
        auto found = handlers_.close.find(close->value);
        if (found == handlers_.close.end())
            throw Failure(LayoutError(ln, close->line, L"no close handler " + close->value));
        on_close_ = found->second;
        bound_handlers_.insert(close->value);
    }
    centre_on_main_form_ = layout.Text(L"Position") == L"mainformcenter";

    // A fixed dialog frame: caption and close box, the window menu, no minimise or maximise box.
    caption_ = layout.Text(L"Caption");
    style_ = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    ex_style_ = WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT;
    if (layout.Text(L"Taskbar") == L"True") ex_style_ |= WS_EX_APPWINDOW;
    client_width_ = layout.Number(L"ClientWidth", ln).value_or(0);
    client_height_ = layout.Number(L"ClientHeight", ln).value_or(0);
    for (const LayoutObject& child : layout.children) {
        if (child.kind != L"menu") continue;
        menu_.reset(CreateMenu());
        AppendMenuItems(menu_.get(), child);
    }
    // The window is made at its final size: with the menu bar, if there is one.
    RECT frame{0, 0, client_width_, client_height_};
    AdjustWindowRectEx(&frame, style_, menu_ ? TRUE : FALSE, ex_style_);
    int left = layout.Number(L"Left", ln).value_or(0);
    int top = layout.Number(L"Top", ln).value_or(0);
    bounds_ = {left, top, left + Width(frame), top + Height(frame)};
    // A handler the class offers is there for a control of the layout: a layout that binds none to it lacks that
    // control.
    auto check_bound = [&](const auto& handlers) {
        for (const auto& [handler, function] : handlers)
            if (!bound_handlers_.count(handler))
                throw Failure(LayoutError(ln, layout.line, L"nothing is bound to the handler " + handler));
    };
    check_bound(handlers_.events);
    check_bound(handlers_.close);
}

void Form::MakeWindows() {
    if (windows_made_) return;
    HWND hwnd = [&] {
        StartupStep step(L"form window");
        return CreateBound(kFormClassName, ex_style_, style_, caption_, bounds_, nullptr, menu_.get(), 0,
                           GetSysColorBrush(COLOR_BTNFACE));
    }();
    windows_made_ = true;  // a form window that could not be made is tried again the next time
    if (menu_) {
        menu_.release();  // the window destroys its menu with itself
        RECT client;
        GetClientRect(hwnd, &client);
        if (Height(client) != client_height_)  // the menu bar wrapped or is drawn taller: correct by the difference
            SetWindowPos(hwnd, nullptr, 0, 0, Width(bounds_), Height(bounds_) + client_height_ - Height(client),
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);

    {
        StartupStep step(L"arranging and docking");
        Control::Arrange(controls_, {0, 0, client_width_, client_height_});
    }
    {
        StartupStep step(L"control windows");
        for (Control* control : Control::StackingOrder(controls_)) control->CreateWindows(hwnd);
    }
    StartupStep step(L"tab order");
    SortTabOrder();
}

void Form::AppendMenuItems(HMENU menu, const LayoutObject& layout) {
    static UINT next_id = 40000;
    for (const LayoutObject& item : layout.children) {
        if (item.kind != L"item") throw Failure(LayoutError(layout_name_, item.line, L"a menu holds items only"));
        std::wstring caption = item.Text(L"Caption");
        if (caption == L"-") {
            AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
        } else if (!item.children.empty()) {
            HMENU popup = CreatePopupMenu();
            AppendMenuW(menu, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(popup), caption.c_str());
            AppendMenuItems(popup, item);
        } else {
            UINT id = next_id++;
            const LayoutProperty* click = item.Find(L"OnClick");
            menu_commands_[id] = click ? EventHandler(click->value, click->line) : std::function<void()>();
            AppendMenuW(menu, MF_STRING, id, caption.c_str());
        }
    }
}

// Keyboard order follows the z-order of siblings. The windows were made in stacking order, which is where Windows
// puts them; they are restacked only where that is not so.
void Form::SortTabOrder() const {
    auto sort = [](const std::vector<std::unique_ptr<Control>>& list, auto& self) -> void {
        const std::vector<Control*> wanted = Control::StackingOrder(list);
        std::vector<Control*> stacked;
        if (!wanted.empty()) {
            for (HWND sibling = GetWindow(GetParent(wanted.front()->Handle()), GW_CHILD); sibling;
                 sibling = GetWindow(sibling, GW_HWNDNEXT))
                if (Control* control = Control::FromHandle(sibling);
                    control && control->Parent() == wanted.front()->Parent())
                    stacked.push_back(control);
        }
        if (stacked != wanted) {
            for (Control* c : wanted)
                SetWindowPos(c->Handle(), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        }
        for (auto& c : list) self(c->Children(), self);
    };
    sort(controls_, sort);
}

Control* Form::FindIn(const std::vector<std::unique_ptr<Control>>& list, std::wstring_view name) const {
    for (auto& control : list) {
        if (control->Name() == name) return control.get();
        if (Control* found = FindIn(control->Children(), name)) return found;
    }
    return nullptr;
}

Control* Form::FindControl(std::wstring_view name) const { return FindIn(controls_, name); }

const LayoutObject& Form::Component(std::wstring_view name) const {
    for (const LayoutObject& c : components_)
        if (c.name == name) return c;
    throw Failure(L"Layout " + layout_name_ + L" has no component " + std::wstring(name));
}

namespace {
// Puts the window at `bounds`' top-left corner, moved (never resized) into the work area of the monitor nearest
// to it where it would not lie whole inside: at 150 % scaling a 1920-pixel screen is 1280 pixels wide to the
// program, and places designed at 96 dpi reach past it.
void PlaceInNearestWorkArea(HWND hwnd, RECT bounds) {
    ScreenPoint place{bounds.left, bounds.top};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    if (GetMonitorInfoW(MonitorFromRect(&bounds, MONITOR_DEFAULTTONEAREST), &monitor)) {
        const RECT& work = monitor.rcWork;
        place = PlaceInside({bounds.left, bounds.top, bounds.right, bounds.bottom},
                            {work.left, work.top, work.right, work.bottom});
    }
    RECT now;
    GetWindowRect(hwnd, &now);
    if (place.x != now.left || place.y != now.top)
        SetWindowPos(hwnd, nullptr, place.x, place.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
}  // namespace

void Form::Show() {
    MakeWindows();
    if (!placed_on_screen_) {
        placed_on_screen_ = true;
        RECT bounds;
        GetWindowRect(Handle(), &bounds);
        PlaceInNearestWorkArea(Handle(), bounds);
        // As the dialog manager does for a dialog: focus and access-key cues hidden when the window came up after
        // a mouse click, shown after a key; Windows shows them as soon as the user uses the keyboard.
        SendMessageW(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);
    }
    {
        StartupStep step(LayoutName(), L"shown");
        ShowWindow(Handle(), SW_SHOWNORMAL);
    }
    StartupStep step(LayoutName(), L"first paint");
    UpdateWindow(Handle());
}

void Form::Hide() {
    if (Handle()) ShowWindow(Handle(), SW_HIDE);
}

bool Form::Visible() const { return IsWindowVisible(Handle()) != FALSE; }

// Centred on the main form the first time only; afterwards the form stays where it was left.
void Form::PlaceForModal() {
    if (shown_before_) return;
    shown_before_ = true;
    Form* main = owner_.MainForm();
    if (!centre_on_main_form_ || !main || main == this) return;
    RECT reference, own;
    GetWindowRect(main->Handle(), &reference);
    GetWindowRect(Handle(), &own);
    int left = reference.left + (Width(reference) - Width(own)) / 2;
    int top = reference.top + (Height(reference) - Height(own)) / 2;
    PlaceInNearestWorkArea(Handle(), {left, top, left + Width(own), top + Height(own)});
}

int Form::ShowModal() {
    MakeWindows();
    HWND previously_active = GetActiveWindow();
    std::optional<DisabledWindows> disabled(std::in_place, Handle());
    PlaceForModal();
    // Owned by the main form while it shows: it stays above it and takes no taskbar button of its own.
    if (Form* main = owner_.MainForm(); main && main != this)
        SetWindowLongPtrW(Handle(), GWLP_HWNDPARENT, reinterpret_cast<LONG_PTR>(main->Handle()));
    modal_ = true;
    modal_result_ = 0;
    SendMessageW(Handle(), WM_CHANGEUISTATE, MAKEWPARAM(UIS_INITIALIZE, 0), 0);  // as in Show
    ShowWindow(Handle(), SW_SHOWNORMAL);
    SetActiveWindow(Handle());

    MSG message;
    while (modal_result_ == 0) {
        BOOL got = GetMessageW(&message, nullptr, 0, 0);
        if (got == 0) {
            PostQuitMessage(static_cast<int>(message.wParam));  // the outer loop must see it too
            break;
        }
        if (got == -1) break;
        Dispatch(message);
    }
    modal_ = false;
    disabled.reset();  // enabled again before the dialog hides, so activation returns to them
    ShowWindow(Handle(), SW_HIDE);
    if (previously_active && IsWindow(previously_active)) SetActiveWindow(previously_active);
    owner_.ModalShowEnded(*this);  // the last use of this object here: the owner may destroy it after this returns
    return 2;
}

void Form::Close() {
    if (modal_) {
        modal_result_ = 2;  // a modal form only hides; ShowModal returns
        return;
    }
    bool main = owner_.MainForm() == this;
    if (main && owner_.Terminating()) {
        owner_.Terminate();  // the close already went through: only the program's end is asked for again
        return;
    }
    CloseAction action = CloseAction::Hide;
    if (on_close_) on_close_(action);
    if (action == CloseAction::None) return;
    if (main)
        owner_.Terminate();  // the window stays on screen until the loop takes the quit message
    else
        Hide();
}

void Form::Dispatch(MSG& message) {
    if (PreTranslate(message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
}

bool Form::PreTranslate(MSG& message) {
    HWND root = message.hwnd ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
    if (!root || !dynamic_cast<Form*>(Window::FromHandle(root))) return false;
    return IsDialogMessageW(root, &message) != FALSE;
}

LRESULT Form::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT routed = 0;
    if (RouteChildNotification(message, wparam, lparam, routed)) return routed;
    switch (message) {
        case WM_COMMAND:
            if (lparam == 0 && HIWORD(wparam) == 0) {
                auto found = menu_commands_.find(LOWORD(wparam));
                if (found != menu_commands_.end() && found->second) found->second();
            }
            return 0;  // IDOK and IDCANCEL from Enter and Esc press nothing
        case WM_CLOSE:
            Close();
            return 0;
        case WM_ACTIVATE:
            if (LOWORD(wparam) == WA_INACTIVE) {
                HWND focus = GetFocus();
                if (focus && IsChild(Handle(), focus)) saved_focus_ = focus;
            } else if (!activated_before_ || !saved_focus_ || !IsWindow(saved_focus_)) {
                activated_before_ = true;
                if (HWND first = GetNextDlgTabItem(Handle(), nullptr, FALSE)) SetFocus(first);
            } else {
                SetFocus(saved_focus_);
            }
            return 0;
    }
    return Window::HandleMessage(message, wparam, lparam);
}
