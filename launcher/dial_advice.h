#pragma once
// What the user can do after a failed dial, chosen by rasdial's exit code, a RAS error number. Pure: no Windows
// header.
#include <string>

// How the dial signed in: with the user name or password typed in the settings, or, with both empty, with the
// sign-in Windows keeps for the entry.
enum class DialSignIn { Typed, SavedInWindows };

// One or two plain sentences, each ending with its full stop: what to check, or whom to ask with which number.
std::wstring DialAdvice(unsigned long error, DialSignIn sign_in);
