#pragma once
// Whether Kavlo.rdp still points at the template's example address. Pure: no Windows header.
#include <string_view>

// True when `server` is blank (nothing above U+0020, as "Save" tells it) and an address line ("full address:s:")
// of `connection_text` holds the address of the template's own address line: "Save" then wrote the template as it
// stands, and opening it would reach whatever answers at the example address (on a home network, often the
// router). A server typed as that very address is the user's: false.
bool LacksServerAddress(std::wstring_view server, std::wstring_view connection_text, std::wstring_view template_text);
