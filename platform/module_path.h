#pragma once
#include <string>

// The folder of the running executable, with its trailing backslash.
std::wstring ExecutableDirectory();
