// Stands in for the program that opens .rdp files: writes down the path it was given.
#include "call_log.h"

int wmain() {
    LogCall(L"rdp_handler", FirstArgument());
    return 0;
}
