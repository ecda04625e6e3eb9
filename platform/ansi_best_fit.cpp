#include "platform/ansi_best_fit.h"

#include "platform/text.h"

std::wstring AnsiBestFitReading(std::wstring_view value) { return AnsiToWide(WideToAnsi(value)); }
