#include "app/application.h"
#include "app/startup.h"
#include "gui_support.h"
#include "test_form.h"
#include "ui/form.h"

#include <memory>
#include <stdexcept>

#include <gtest/gtest.h>

namespace {
HWND ButtonOf(const Form& form, const wchar_t* name) { return form.FindControl(name)->Handle(); }

BOOL CALLBACK CountOurForms(HWND hwnd, LPARAM count) {
    if (ClassOf(hwnd) == L"KavloForm") ++*reinterpret_cast<int*>(count);
    return TRUE;
}
}  // namespace

TEST(FailureBoxTest, FailureInAHandlerShowsOneBoxAndTheProgramGoesOn) {
    TestForm other(App());
    other.Show();
    TestForm form(App(), [] {
        throw Failure(L"outer", std::make_shared<Failure>(L"middle", std::make_shared<Failure>(L"Server unreachable")));
    });
    form.Show();
    PumpMessages();
    {
        BoxWatcher watcher(other.Handle());
        SendMessageW(ButtonOf(form, L"Button1"), BM_CLICK, 0, 0);
        PumpMessages(100);
        std::vector<SeenBox> seen = watcher.Seen();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, L"Server unreachable.");
        EXPECT_EQ(seen[0].caption, App().Title());
        EXPECT_EQ(seen[0].buttons, 1);
        EXPECT_TRUE(seen[0].others_disabled) << "the program's other windows are disabled while the box shows";
        EXPECT_EQ(seen[0].owner, form.Handle()) << "the active window owns the box";
    }
    EXPECT_TRUE(IsWindowEnabled(other.Handle()));
    SendMessageW(ButtonOf(form, L"Button2"), BM_CLICK, 0, 0);
    EXPECT_EQ(form.clicks, 1);
}

namespace {
// The box's owner, and whether it was enabled when the box went, seen by a hook on this thread.
struct OwnerAtTheBox {
    HWND owner = nullptr;
    bool enabled_when_destroyed = false;
};
OwnerAtTheBox seen_owner;

LRESULT CALLBACK WatchBoxes(int code, WPARAM wparam, LPARAM lparam) {
    HWND hwnd = reinterpret_cast<HWND>(wparam);
    if (code == HCBT_CREATEWND) {
        const CREATESTRUCTW* create = reinterpret_cast<CBT_CREATEWNDW*>(lparam)->lpcs;
        if (ClassOf(hwnd) == L"#32770") seen_owner.owner = create->hwndParent;
    } else if (code == HCBT_DESTROYWND && ClassOf(hwnd) == L"#32770") {
        seen_owner.enabled_when_destroyed = IsWindowEnabled(GetWindow(hwnd, GW_OWNER)) != FALSE;
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}
}  // namespace

// A box that finds its owner disabled leaves it disabled as it goes, and Windows then activates another
// program's window. So the owner is left to the box, which disables it and enables it again before it goes.
TEST(FailureBoxTest, TheOwnerIsEnabledAgainBeforeTheBoxGoesAndKeepsActivationAndFocus) {
    TestForm other(App());
    other.Show();
    TestForm form(App(), [] { throw Failure(L"Cannot create file"); });
    form.Show();
    PumpMessages();
    HWND button = ButtonOf(form, L"Button1");
    SetFocus(button);
    seen_owner = {};
    {
        struct Unhook {
            void operator()(HHOOK hook) const { UnhookWindowsHookEx(hook); }
        };
        std::unique_ptr<HHOOK__, Unhook> hook(SetWindowsHookExW(WH_CBT, WatchBoxes, nullptr, GetCurrentThreadId()));
        ASSERT_NE(hook, nullptr);
        BoxWatcher watcher(other.Handle());
        SendMessageW(button, BM_CLICK, 0, 0);
        PumpMessages(100);
        ASSERT_EQ(watcher.Seen().size(), 1u);
        EXPECT_TRUE(watcher.Seen()[0].others_disabled);
    }
    EXPECT_EQ(seen_owner.owner, form.Handle());
    EXPECT_TRUE(seen_owner.enabled_when_destroyed) << "the owner was still disabled when the box went";
    EXPECT_TRUE(IsWindowEnabled(form.Handle()));
    EXPECT_TRUE(IsWindowEnabled(other.Handle()));
    EXPECT_EQ(GetActiveWindow(), form.Handle());
    EXPECT_EQ(GetFocus(), button);
}

TEST(FailureBoxTest, ForeignExceptionShowsAnEmptyBox) {
    TestForm form(App(), [] { throw std::runtime_error("not ours"); });
    form.Show();
    PumpMessages();
    BoxWatcher watcher;
    SendMessageW(ButtonOf(form, L"Button1"), BM_CLICK, 0, 0);
    PumpMessages(100);
    std::vector<SeenBox> seen = watcher.Seen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, L"");
}

TEST(FailureBoxTest, TitleFollowsTheExecutableName) {
    EXPECT_EQ(App().Title(), L"gui_tests");  // the first letter keeps its case
}

// A failure while the windows are built: one box, no window left, and the entry procedure's 0.
TEST(StartupGuardTest, FailureWhileBuildingShowsOneBoxAndReturnsZero) {
    struct Case {
        std::function<void()> fail;
        std::wstring text;
    };
    const Case cases[] = {
        {[] { throw Failure(L"Cannot open file \"C:\\x\\setup_a.ini\". Access denied"); },
         L"Cannot open file \"C:\\x\\setup_a.ini\". Access denied."},
        {[] { throw std::bad_alloc(); }, L""},
    };
    auto count_forms = [] {
        int forms = 0;
        EnumThreadWindows(GetCurrentThreadId(), CountOurForms, reinterpret_cast<LPARAM>(&forms));
        return forms;
    };
    for (const Case& c : cases) {
        const int forms_before = count_forms();
        BoxWatcher watcher;
        int result = RunGuarded(App(), [&](Application& app) {
            struct Failing : TestForm {
                Failing(FormOwner& owner, const std::function<void()>& fail) : TestForm(owner) { fail(); }
            };
            app.CreateMainForm<Failing>(c.fail);
        });
        PumpMessages(100);
        EXPECT_EQ(result, 0);
        std::vector<SeenBox> seen = watcher.Seen();
        ASSERT_EQ(seen.size(), 1u);
        EXPECT_EQ(seen[0].text, c.text);
        EXPECT_EQ(count_forms(), forms_before) << "the half-built window is gone";
        EXPECT_EQ(App().MainForm(), nullptr);
        EXPECT_TRUE(App().Forms().empty()) << "the form that failed is not kept";
    }
}

// A handler the form's class offers stands for a control the layout must bind to it.
TEST(LayoutLoadingTest, AHandlerNothingIsBoundToFailsNamingIt) {
    FormHandlers handlers;
    for (const wchar_t* name : {L"ThrowClick", L"CountClick", L"Missing"}) handlers.events[name] = [] {};
    try {
        App().CreateForm<Form>(L"TEST_FORM", std::move(handlers));
        FAIL() << "a layout without the control must not load";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), L"Layout TEST_FORM, line 2: nothing is bound to the handler Missing");
    }
    EXPECT_TRUE(App().Forms().empty());
}

TEST(LayoutLoadingTest, MalformedLayoutFailsNamingTheFormAndLine) {
    try {
        App().CreateForm<Form>(L"BROKEN_LAYOUT", FormHandlers{});
        FAIL() << "a malformed layout must not load";
    } catch (const Failure& failure) {
        EXPECT_EQ(failure.message(), L"Layout BROKEN_LAYOUT, line 4: Left must be a whole number");
    }
    EXPECT_TRUE(App().Forms().empty()) << "the form that failed is not kept";
}
