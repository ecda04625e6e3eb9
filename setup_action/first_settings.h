#pragma once
// The settings a first install was given, stored as "Save" stores them.
#include "setup_action/given_settings.h"
#include "ui/layout.h"

#include <string>
#include <vector>

// Runs "Save" for the installed program without a window. The settings dialog's layout gives the store's bindings,
// on controls held in memory, and the connection file's template. The values are those of the folder's setup_a.ini
// (the package's own, where it put one there) with the given settings over them; they are refused as "Save"
// refuses them, then Kavlo.rdp is written from the template (or kept, by "Save"'s rule) and setup_a.ini by the
// settings store, both beside the program in `folder` (ending in a backslash), where its shortcut starts it.
// Returns what was done, a line each, for the installer's log. Failure: a refused value, an unreadable setup_a.ini,
// a failed write.
std::vector<std::wstring> StoreFirstSettings(const LayoutObject& layout, const std::wstring& folder,
                                             const GivenSettings& given);
