#pragma once
// Which typed values rasdial and netsh cannot be given. Pure: no Windows header.
// rasdial reads any argument that begins with "/" as a switch of its own, wherever it stands: an entry, user or
// password such as "/PHONE:host" would dial another server. And a tool that reads its command line as 8-bit text
// receives it in the ANSI code page, where Windows gives a character the code page lacks its best fit: a
// fullwidth "／" arrives as "/", a fullwidth "＂" as a quotation mark, an ideographic space as a blank. Such a value
// would reach the tool as a switch or split into arguments of its own. Either is refused before anything starts.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

// How a program that reads its command line as 8-bit text receives `value`: its best-fit form in the ANSI code
// page, read back into UTF-16.
using EightBitReading = std::function<std::wstring(std::wstring_view)>;

// The sentence that refuses the first of entry, user and password that rasdial would not receive as typed (one
// that begins, after blanks, with "/", or whose 8-bit form does), naming its field by the field's label; nothing
// when all three can be dialled.
std::optional<std::wstring> DialValueRefusal(const std::wstring& entry, const std::wstring& user,
                                             const std::wstring& password, const EightBitReading& read);

// The same for the Wi-Fi network's name, which netsh is given.
std::optional<std::wstring> WifiNetworkRefusal(const std::wstring& network, const EightBitReading& read);
