#pragma once
// What every stand-in does: it writes down how it was called and ends.
// One line per call, UTF-8, appended to the file the environment variable KAVLO_CALLS_LOG names (the tests
// point it into their sandbox, since the stand-ins for the system's tools live in the system folder), else to
// "calls.log" beside the stand-in's own exe:
//   name <TAB> time <TAB> text <LF>
// time: when this process was created, in milliseconds since 1601 (UTC) — the moment the caller started it,
// so the gap between two calls does not depend on how long each stand-in took to start.
#include <cstddef>
#include <string>

void LogCall(const wchar_t* name, const std::wstring& text);

// Writes down the folder this stand-in was started in: a line "name <TAB> folder <LF>" in "folders.log" beside the
// calls log.
void LogCurrentFolder(const wchar_t* name);

// How many calls of that name the log held before this one was written (call before LogCall).
std::size_t EarlierCalls(const wchar_t* name);

// A number chosen by the test through the environment this stand-in inherits: the `index`-th of the
// comma-separated numbers in `variable` (the last one when there are fewer), 0 when it is not set.
unsigned long NumberFromEnvironment(const wchar_t* variable, std::size_t index = 0);

// A look-alike that must never run writes its line, named by its own full path, to "strays.log" beside itself.
void LogStray(const std::wstring& text);

// The command line as received, less the program name and the blanks after it (nothing re-parsed or re-quoted).
std::wstring ArgumentsAsReceived();

// Writes down the command line as a program that reads it as 8-bit text receives it (GetCommandLineA: the ANSI code
// page's best fit of the wide one), less the program name, read back through that code page: a line as LogCall
// writes, in "calls_8bit.log" beside the calls log. Called before LogCall, so that the line is there once the call
// is.
void LogEightBitCall(const wchar_t* name);

// The first argument as CommandLineToArgvW reads it; empty when there is none.
std::wstring FirstArgument();
