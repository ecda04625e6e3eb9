#include "app/startup.h"

int RunGuarded(Application& application, const MainFormMaker& make_main_form) {
    try {
        application.Initialize();
        make_main_form(application);
        application.Run();
    } catch (const Failure& failure) {
        application.ShowFailure(failure);
    } catch (...) {
        application.ShowFailure(Failure(L""));
    }
    return 0;
}
