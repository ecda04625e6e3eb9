#include "ui/controls.h"

#include "platform/accessible_names.h"
#include "platform/failure.h"
#include "ui/form.h"
#include "ui/rect_size.h"
#include "ui/window_classes.h"
#include "ui/window_text.h"

#include <algorithm>

namespace {
const wchar_t kControlProperty[] = L"KavloControl";
int next_control_id = 100;  // clear of IDOK and IDCANCEL, which the dialog keys send

Dock ParseDock(const LayoutObject& layout, const std::wstring& layout_name) {
    const LayoutProperty* p = layout.Find(L"Align");
    if (!p) return Dock::None;
    if (p->value == L"top") return Dock::Top;
    if (p->value == L"bottom") return Dock::Bottom;
    if (p->value == L"left") return Dock::Left;
    if (p->value == L"right") return Dock::Right;
    if (p->value == L"client") return Dock::Client;
    throw Failure(LayoutError(layout_name, p->line, L"Align must be top, bottom, left, right or client"));
}

bool ParseBool(const LayoutObject& layout, std::wstring_view key, bool fallback, const std::wstring& layout_name) {
    const LayoutProperty* p = layout.Find(key);
    if (!p) return fallback;
    if (p->value == L"True") return true;
    if (p->value == L"False") return false;
    throw Failure(LayoutError(layout_name, p->line, std::wstring(key) + L" must be True or False"));
}
}  // namespace

Control::Control(Form& form, Control* parent, const LayoutObject& layout)
    : form_(form), parent_(parent), name_(layout.name), caption_(layout.Text(L"Caption")) {
    const std::wstring& ln = form.LayoutName();
    int left = layout.Number(L"Left", ln).value_or(0);
    int top = layout.Number(L"Top", ln).value_or(0);
    bounds_ = {left, top, left + layout.Number(L"Width", ln).value_or(0),
               top + layout.Number(L"Height", ln).value_or(0)};
    dock_ = ParseDock(layout, ln);
    tab_order_ = layout.Number(L"TabOrder", ln).value_or(-1);
    focus_control_ = layout.Text(L"FocusControl");
    if (layout.Find(L"AccessibleName")) accessible_name_ = layout.Text(L"AccessibleName");
    visible_ = ParseBool(layout, L"Visible", true, ln);
    for (const LayoutObject& child : layout.children) {
        std::unique_ptr<Control> control = MakeControl(form, this, child);
        if (!control) throw Failure(LayoutError(ln, child.line, L"unknown control kind " + child.kind));
        children_.push_back(std::move(control));
    }
}

Control::~Control() {
    if (accessible_name_ && hwnd_ && IsWindow(hwnd_)) ForgetScreenReaderName(hwnd_);
}

std::function<void()> Control::Handler(const LayoutObject& layout, const wchar_t* event) const {
    const LayoutProperty* p = layout.Find(event);
    return p ? form_.EventHandler(p->value, p->line) : std::function<void()>();
}

Control* Control::FromHandle(HWND hwnd) {
    return hwnd ? static_cast<Control*>(GetPropW(hwnd, kControlProperty)) : nullptr;
}

RECT Control::InnerArea() const { return {0, 0, Width(bounds_), Height(bounds_)}; }

// Docked controls share out the inner area in the order top, bottom, left, right, then what is left.
void Control::Arrange(const std::vector<std::unique_ptr<Control>>& controls, const RECT& inner) {
    RECT free = inner;
    for (Dock pass : {Dock::Top, Dock::Bottom, Dock::Left, Dock::Right, Dock::Client}) {
        for (auto& child : controls) {
            if (child->dock_ != pass) continue;
            RECT& b = child->bounds_;
            int w = Width(b), h = Height(b);
            switch (pass) {
                case Dock::Top:
                    b = {free.left, free.top, free.right, free.top + h};
                    free.top += h;
                    break;
                case Dock::Bottom:
                    b = {free.left, free.bottom - h, free.right, free.bottom};
                    free.bottom -= h;
                    break;
                case Dock::Left:
                    b = {free.left, free.top, free.left + w, free.bottom};
                    free.left += w;
                    break;
                case Dock::Right:
                    b = {free.right - w, free.top, free.right, free.bottom};
                    free.right -= w;
                    break;
                default:
                    b = free;
                    break;
            }
        }
    }
    for (auto& child : controls) Arrange(child->children_, child->InnerArea());
}

std::vector<Control*> Control::StackingOrder(const std::vector<std::unique_ptr<Control>>& controls) {
    std::vector<Control*> tabbed;
    for (auto& c : controls)
        if (c->TabOrder() >= 0) tabbed.push_back(c.get());
    std::stable_sort(tabbed.begin(), tabbed.end(),
                     [](const Control* a, const Control* b) { return a->TabOrder() < b->TabOrder(); });
    const auto names_tabbed = [&](const Control* label) {
        return !label->FocusControl().empty() && std::any_of(tabbed.begin(), tabbed.end(), [&](const Control* c) {
            return c->Name() == label->FocusControl();
        });
    };
    std::vector<Control*> order;
    for (auto& c : controls)
        if (c->TabOrder() < 0 && !names_tabbed(c.get())) order.push_back(c.get());
    for (Control* field : tabbed) {
        for (auto& c : controls)
            if (c->TabOrder() < 0 && c->FocusControl() == field->Name()) order.push_back(c.get());
        order.push_back(field);
    }
    return order;
}

void Control::CreateWindows(HWND parent_window) {
    hwnd_ = CreateControl(parent_window, bounds_, next_control_id++);
    SetPropW(hwnd_, kControlProperty, this);
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form_.Font()), FALSE);
    if (accessible_name_) NameForScreenReaders(hwnd_, *accessible_name_);
    for (Control* child : StackingOrder(children_)) child->CreateWindows(hwnd_);
}

HWND Control::CreateStandard(const wchar_t* class_name, DWORD ex_style, DWORD style, const std::wstring& text,
                             HWND parent_window, const RECT& bounds, int id) {
    style |= WS_CHILD | (visible_ ? WS_VISIBLE : 0);
    HWND hwnd = CreateWindowExW(ex_style, class_name, text.c_str(), style, bounds.left, bounds.top, Width(bounds),
                                Height(bounds), parent_window, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                GetModuleHandleW(nullptr), nullptr);
    if (!hwnd) throw Failure(L"Cannot create the control " + name_);
    return hwnd;
}

bool RouteChildNotification(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
    if (message == WM_COMMAND && lparam != 0) {
        if (Control* control = Control::FromHandle(reinterpret_cast<HWND>(lparam))) {
            control->Command(HIWORD(wparam));
            result = 0;
            return true;
        }
    }
    if (message == WM_DRAWITEM) {
        auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
        if (Control* control = Control::FromHandle(item->hwndItem); control && control->DrawItem(*item)) {
            result = TRUE;
            return true;
        }
    }
    return false;
}

// --- push buttons

Button::Button(Form& form, Control* parent, const LayoutObject& layout)
    : Control(form, parent, layout), on_click_(Handler(layout, L"OnClick")) {}

HWND Button::CreateControl(HWND parent_window, const RECT& bounds, int id) {
    return CreateStandard(L"BUTTON", 0, WS_TABSTOP | BS_PUSHBUTTON, Caption(), parent_window, bounds, id);
}

void Button::Command(WORD code) {
    if (code == BN_CLICKED) Click();
}

BitmapButton::BitmapButton(Form& form, Control* parent, const LayoutObject& layout) : Button(form, parent, layout) {
    if (const LayoutProperty* glyph = layout.Find(L"Glyph")) {
        glyph_ = LoadPicture(glyph->value);
        icon_ = IconFromPicture(glyph_);
    }
}

HWND BitmapButton::CreateControl(HWND parent_window, const RECT& bounds, int id) {
    HWND hwnd = CreateStandard(L"BUTTON", 0, WS_TABSTOP | BS_PUSHBUTTON | BS_ICON | BS_CENTER | BS_VCENTER, Caption(),
                               parent_window, bounds, id);
    if (icon_) SendMessageW(hwnd, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(icon_.get()));
    return hwnd;
}

// --- check box

CheckBox::CheckBox(Form& form, Control* parent, const LayoutObject& layout)
    : Control(form, parent, layout), on_click_(Handler(layout, L"OnClick")) {}

HWND CheckBox::CreateControl(HWND parent_window, const RECT& bounds, int id) {
    HWND hwnd = CreateStandard(L"BUTTON", 0, WS_TABSTOP | BS_AUTOCHECKBOX, Caption(), parent_window, bounds, id);
    if (checked_) SendMessageW(hwnd, BM_SETCHECK, BST_CHECKED, 0);
    return hwnd;
}

bool CheckBox::Checked() const {
    return Handle() ? SendMessageW(Handle(), BM_GETCHECK, 0, 0) == BST_CHECKED : checked_;
}

void CheckBox::SetChecked(bool checked) {
    if (checked == Checked()) return;
    if (Handle())
        SendMessageW(Handle(), BM_SETCHECK, checked ? BST_CHECKED : BST_UNCHECKED, 0);
    else
        checked_ = checked;
    RunHandler(on_click_);
}

void CheckBox::Command(WORD code) {
    if (code == BN_CLICKED) RunHandler(on_click_);
}

// --- edit fields

Edit::Edit(Form& form, Control* parent, const LayoutObject& layout) : Control(form, parent, layout), text_(Caption()) {}

HWND Edit::CreateControl(HWND parent_window, const RECT& bounds, int id) {
    HWND hwnd = CreateStandard(L"EDIT", WS_EX_CLIENTEDGE, WS_TABSTOP | ES_AUTOHSCROLL | ES_LEFT, text_, parent_window,
                               bounds, id);
    SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);  // no length limit
    std::wstring().swap(text_);                 // the window holds it now
    return hwnd;
}

std::wstring Edit::Text() const { return Handle() ? WindowText(Handle()) : text_; }

void Edit::SetText(const std::wstring& text) {
    // The same text again changes nothing; an edit lays out every line anew on WM_SETTEXT, which is slow for the
    // template memos, and would lose the caret.
    if (text == Text()) return;
    if (!Handle()) {
        text_ = text;
        return;
    }
    if (!SetWindowTextW(Handle(), text.c_str())) throw Failure(L"Cannot set the text of " + Name());
}

Memo::Memo(Form& form, Control* parent, const LayoutObject& layout) : Edit(form, parent, layout) {
    text_ = layout.LinesText();
}

HWND Memo::CreateControl(HWND parent_window, const RECT& bounds, int id) {
    HWND hwnd = CreateStandard(L"EDIT", WS_EX_CLIENTEDGE,
                               WS_TABSTOP | ES_MULTILINE | ES_AUTOHSCROLL | ES_AUTOVSCROLL | ES_WANTRETURN | ES_LEFT,
                               L"", parent_window, bounds, id);
    SendMessageW(hwnd, EM_SETLIMITTEXT, 0, 0);
    SetWindowTextW(hwnd, text_.c_str());
    std::wstring().swap(text_);
    return hwnd;
}

// --- label

HWND Label::CreateControl(HWND parent_window, const RECT& bounds, int id) {
    RECT sized = bounds;
    {
        WindowDC screen(nullptr);
        SelectedObject font(screen.get(), OwnerForm().Font());
        SIZE extent{};
        GetTextExtentPoint32W(screen.get(), Caption().c_str(), static_cast<int>(Caption().size()), &extent);
        sized.right = sized.left + extent.cx;
        sized.bottom = sized.top + extent.cy;
    }
    bounds_ = sized;
    return CreateStandard(L"STATIC", 0, SS_LEFT | SS_NOPREFIX, Caption(), parent_window, sized, id);
}

// --- panel

RECT Panel::InnerArea() const {
    RECT inner = Control::InnerArea();
    InflateRect(&inner, -1, -1);
    return inner;
}

HWND Panel::CreateControl(HWND parent_window, const RECT& bounds, int id) {
    return window_.Create(parent_window, bounds, id);
}

HWND Panel::PanelWindow::Create(HWND parent_window, const RECT& bounds, int id) {
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS | (panel_.Visible() ? WS_VISIBLE : 0);
    return CreateBound(kPanelClassName, WS_EX_CONTROLPARENT, style, panel_.Caption(), bounds, parent_window,
                       reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), 0, GetSysColorBrush(COLOR_BTNFACE));
}

LRESULT Panel::PanelWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
    LRESULT routed = 0;
    if (RouteChildNotification(message, wparam, lparam, routed)) return routed;
    if (message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC)
        return SendMessageW(GetParent(Handle()), message, wparam, lparam);  // the form decides colours
    if (message == WM_PAINT) {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(Handle(), &ps);
        RECT client;
        GetClientRect(Handle(), &client);
        DrawEdge(dc, &client, BDR_RAISEDINNER, BF_RECT);
        if (!panel_.Caption().empty()) {
            SelectedObject font(dc, panel_.OwnerForm().Font());
            SetBkMode(dc, TRANSPARENT);
            SetTextColor(dc, GetSysColor(COLOR_BTNTEXT));
            DrawTextW(dc, panel_.Caption().c_str(), -1, &client, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        }
        EndPaint(Handle(), &ps);
        return 0;
    }
    return Window::HandleMessage(message, wparam, lparam);
}

// --- image

Image::Image(Form& form, Control* parent, const LayoutObject& layout) : Control(form, parent, layout) {
    if (const LayoutProperty* picture = layout.Find(L"Picture")) picture_ = LoadPicture(picture->value);
}

HWND Image::CreateControl(HWND parent_window, const RECT& bounds, int id) {
    return CreateStandard(L"STATIC", 0, SS_OWNERDRAW, L"", parent_window, bounds, id);
}

bool Image::DrawItem(const DRAWITEMSTRUCT& item) {
    // The parent chooses the background, as it does for every static control (the standard look: the face colour).
    auto background = reinterpret_cast<HBRUSH>(SendMessageW(GetParent(item.hwndItem), WM_CTLCOLORSTATIC,
                                                            reinterpret_cast<WPARAM>(item.hDC),
                                                            reinterpret_cast<LPARAM>(item.hwndItem)));
    FillRect(item.hDC, &item.rcItem, background ? background : GetSysColorBrush(COLOR_BTNFACE));
    if (picture_.bitmap) DrawPicture(item.hDC, picture_, 0, 0);
    return true;
}

// --- factory

std::unique_ptr<Control> MakeControl(Form& form, Control* parent, const LayoutObject& layout) {
    const std::wstring& kind = layout.kind;
    if (kind == L"button") return std::make_unique<Button>(form, parent, layout);
    if (kind == L"bitbutton") return std::make_unique<BitmapButton>(form, parent, layout);
    if (kind == L"checkbox") return std::make_unique<CheckBox>(form, parent, layout);
    if (kind == L"edit") return std::make_unique<Edit>(form, parent, layout);
    if (kind == L"memo") return std::make_unique<Memo>(form, parent, layout);
    if (kind == L"label") return std::make_unique<Label>(form, parent, layout);
    if (kind == L"panel") return std::make_unique<Panel>(form, parent, layout);
    if (kind == L"image") return std::make_unique<Image>(form, parent, layout);
    return nullptr;
}
