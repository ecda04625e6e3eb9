#include "app/application.h"
#include "app/startup.h"
#include "launcher/launcher_window.h"
#include "platform/dll_search.h"
#include "ui/style/style.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LoadDllsOnlyFromSystemFolder();  // before OLE, the shell or common controls can load anything by name
    Application application;
    return RunGuarded(application, [](Application& app) {
        UseStyle(L"Amakrits");  // the look, before the first window
        app.CreateMainForm<LauncherWindow>(app.Handle());
    });
}
