#pragma once
// The executable's own resources: layouts (UTF-8 text) and pictures (PNG bytes).
#include <cstdint>
#include <string>
#include <vector>

std::vector<std::uint8_t> LoadResourceBytes(const std::wstring& name, const wchar_t* type);
std::wstring LoadTextResource(const std::wstring& name);
