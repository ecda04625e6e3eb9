#pragma once
// The remote desktop connection text made from the template and the server the user typed.
#include <string>
#include <string_view>

// The template itself when the server is blank; otherwise the template with every default address line pointing
// at the server exactly as typed.
std::wstring GenerateConnectionText(const std::wstring& template_text, const std::wstring& server);

// Whether the server text holds a character that ends a line: CR or LF, or another of Unicode's mandatory line
// breaks (vertical tab, form feed, next line, line and paragraph separator). Each line of the connection file is a
// setting of its own, so the part after such a break would be read as settings the user never chose.
bool BreaksConnectionLine(std::wstring_view server);
