#pragma once
// Why the settings file could not be restored, and what the user can do about it. Pure: no Windows header.
#include <string>
#include <string_view>

enum class SettingsFileCause {
    HeldByAnotherProgram,  // opened by another program without sharing, or locked by it
    NotOnThisComputer,     // kept online and not fetched, or on a network or removable drive that is away
    Damaged,               // read, but not a settings file this program can take: only this one may be deleted
    Unreadable,            // anything else Windows refused
};

// `read_error`: Windows' error code for a file that is there but could not be opened or read (after a brief lock
// was waited out), ERROR_FILE_TOO_LARGE for one far larger than any settings file; 0 for a file that was read and
// whose content failed.
SettingsFileCause SettingsFileCauseOf(unsigned long read_error);

// When the box comes: at start-up, which ends the program, or on "Cancel", which leaves the dialog open.
enum class SettingsFileMoment { Startup, Cancel };

// `reason`: the failure's own sentence as the box shows it; `path`: the settings file's full path. The reason, then
// the file and the remedy for `cause`.
std::wstring SettingsFileFailureText(std::wstring_view reason, std::wstring_view path, SettingsFileCause cause,
                                     SettingsFileMoment moment);
