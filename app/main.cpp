#include "app/application.h"
#include "launcher/Min_ucn.h"

#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    Application application;
    try {
        application.Initialize();
        Form1 = application.CreateForm<TForm1>();
        application.Run();
    } catch (const Failure& failure) {
        application.ShowFailure(failure);
    } catch (...) {
        application.ShowFailure(Failure(L""));
    }
    return 0;
}
