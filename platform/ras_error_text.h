#pragma once
// Windows' own text for a RAS error number, as the dialler reports it.
#include <string>

// RasGetErrorStringW from rasapi32.dll, which is loaded from the system folder the first time a text is asked for,
// so that start-up pays nothing for it. Empty when the DLL, the function or a text for `error` is missing.
std::wstring RasErrorText(unsigned long error);
