// Planted as rasdial.exe and netsh.exe beside the program and in its current folder, where a bare tool name
// would find it first: the program must never start it. It writes down that it ran, and where.
#include "call_log.h"

int wmain() {
    LogStray(ArgumentsAsReceived());
    return 0;
}
