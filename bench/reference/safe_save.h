#pragma once
// The hand-made reference's "Save" of one file, with the Win32 calls the program's safe writer makes when
// nothing goes wrong: the full path; the target's attributes and a trial open of it (what creating the file over
// the old one would refuse); a new temporary file beside it; the bytes; a flush to disk; the move over the old
// file, written through. The program retries only on a sharing violation or a refused access, so a save that
// meets neither makes exactly these calls; here a failure just gives up.
#include <string>
#include <vector>

// False when any step failed.
bool SaveSafely(const std::wstring& name, const std::vector<char>& bytes);
