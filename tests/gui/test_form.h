#pragma once
// A small form from the test program's own layout, for tests of the framework and the failure box.
#include "ui/form.h"

#include <functional>
#include <utility>

// Its first button runs what the test gives it (throws, for the failure tests); its second counts its clicks.
class TestForm : public Form {
public:
    explicit TestForm(
        FormOwner& owner, std::function<void()> first = [] {})
        : Form(owner, L"TEST_FORM", Handlers(std::move(first))) {}
    int clicks = 0;

private:
    FormHandlers Handlers(std::function<void()> first) {
        FormHandlers handlers;
        handlers.events[L"ThrowClick"] = std::move(first);
        handlers.events[L"CountClick"] = [this] { ++clicks; };
        return handlers;
    }
};
