// Stands in for rasdial: writes down its parameters, as a wide and as an 8-bit program receives them, and dials
// nothing. A test chooses how each run goes through two variables of its own environment, which the program and
// then the stand-in inherit, each a comma-separated list whose n-th number is for the n-th run (the last number for
// any later run):
//   KAVLO_FAKE_RASDIAL_EXIT  the exit code (a RAS error number), 0 when absent
//   KAVLO_FAKE_RASDIAL_MS    how long the run takes, in milliseconds, none when absent
#include "call_log.h"

#include <windows.h>

int wmain() {
    const std::size_t run = EarlierCalls(L"rasdial");
    LogEightBitCall(L"rasdial");
    LogCall(L"rasdial", ArgumentsAsReceived());
    LogCurrentFolder(L"rasdial");
    Sleep(NumberFromEnvironment(L"KAVLO_FAKE_RASDIAL_MS", run));
    return static_cast<int>(NumberFromEnvironment(L"KAVLO_FAKE_RASDIAL_EXIT", run));
}
