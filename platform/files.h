#pragma once
// Whole-file reading and safe whole-file writing.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

// A bare name expands against the current directory.
std::wstring FullPathOf(const std::wstring& name);

// The system's description of an error code, without trailing blanks, line breaks or full stops.
std::wstring SystemErrorText(unsigned long code);

bool FileExists(const std::wstring& path);

// nullopt when the file does not exist; Failure "Cannot open file ..." when it exists but cannot be opened or read,
// or holds more than `largest` bytes (read no further than that, so a huge file cannot exhaust memory). An open
// that meets a brief lock is tried again as the writes' steps are, about a second in all.
std::optional<std::vector<std::uint8_t>> ReadWholeFile(const std::wstring& path,
                                                       std::size_t largest = static_cast<std::size_t>(-1));

// Replaces the file's bytes through a temporary file in the same folder, so a failed write leaves the old file
// as it was. The temporary file and the old one's backup get names no other program can guess ahead, and a name
// already taken is never written to or removed. Failures: "Cannot create file ..." (naming the target) and
// "Stream write error".
void WriteFileSafely(const std::wstring& path, const std::vector<std::uint8_t>& bytes);

// Lets tests make a write stop short as on a full disk: at most `limit` bytes of each file are accepted.
void SetWriteLimitForTests(std::optional<std::size_t> limit);
// Lets tests choose the random part of the temporary and backup names, one call per name drawn (an empty function:
// random again).
void SetNamePartsForTests(std::function<std::wstring()> next);
