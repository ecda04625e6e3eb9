#pragma once
// The hand-made reference's reading of setup_a.ini: the file's bytes with plain file calls, and a stored value
// looked up by object and key. It reads the values the program writes ([Edit1: TcxPropertiesStoreComponent],
// Text="..."); it does not undo escapes inside a value, which the benchmark's files never hold.
#include <optional>
#include <string>
#include <vector>

// nullopt when the file does not exist or cannot be read.
std::optional<std::vector<char>> ReadWholeFilePlainly(const std::wstring& path);

std::optional<std::wstring> StoredValue(const std::vector<char>& file, const char* object, const char* key);
