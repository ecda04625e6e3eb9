#include "app/application.h"
#include "app/startup.h"
#include "launcher/Min_ucn.h"
#include "ui/style/style.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Application application;
    return RunGuarded(application, [](Application& app) {
        UseStyle(L"Amakrits");  // start-up step 4: the look, before the first window
        Form1 = app.CreateForm<TForm1>();
    });
}
