#include "app/application.h"
#include "app/startup.h"
#include "launcher/Min_ucn.h"
#include "platform/dll_search.h"
#include "ui/style/style.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    LoadDllsOnlyFromSystemFolder();  // before OLE, the shell or common controls can load anything by name
    Application application;
    return RunGuarded(application, [](Application& app) {
        UseStyle(L"Amakrits");  // start-up step 4: the look, before the first window
        Form1 = app.CreateForm<TForm1>();
    });
}
