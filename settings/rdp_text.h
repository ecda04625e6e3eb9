#pragma once
// The remote desktop connection text made from the template and the server the user typed.
#include <string>

// The template itself when the server is blank; otherwise the template with every default address line pointing
// at the server exactly as typed.
std::wstring GenerateConnectionText(const std::wstring& template_text, const std::wstring& server);
