#pragma once
// Which VPN values rasdial cannot be given. Pure: no Windows header.
// rasdial reads any argument that begins with "/" as a switch of its own, wherever it stands: an entry, user or
// password such as "/PHONE:host" would dial another server. Such a value is refused before anything starts.
#include <optional>
#include <string>

// The sentence that refuses the first of entry, user and password that begins with "/", naming its field by the
// field's label; nothing when all three can be dialled.
std::optional<std::wstring> DialValueRefusal(const std::wstring& entry, const std::wstring& user,
                                             const std::wstring& password);
