#include "app/application.h"
#include "app/startup.h"
#include "launcher/Min_ucn.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Application application;
    return RunGuarded(application, [](Application& app) { Form1 = app.CreateForm<TForm1>(); });
}
