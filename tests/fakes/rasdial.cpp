// Stands in for rasdial: writes down its parameters, dials nothing.
#include "call_log.h"

int wmain() {
    LogCall(L"rasdial", ArgumentsAsReceived());
    return 0;
}
