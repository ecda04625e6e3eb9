// Stands in for netsh: writes down its parameters, changes nothing.
#include "call_log.h"

int wmain() {
    LogCall(L"netsh", ArgumentsAsReceived());
    return 0;
}
