#pragma once
// Start-up under its guard: COM and the hidden window, the style, the main form, then the loop.
#include "app/application.h"

#include <functional>

// Makes the main form through the application's window-creation step.
using MainFormMaker = std::function<void(Application&)>;

// Returns 0 always: after a normal close, and after a failure that escaped start-up (shown in the failure box;
// anything that is not a Failure shows as an empty box).
int RunGuarded(Application& application, const MainFormMaker& make_main_form);
