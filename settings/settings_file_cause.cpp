#include "settings/settings_file_cause.h"

#include <algorithm>
#include <initializer_list>

namespace {

struct Codes {
    SettingsFileCause cause;
    std::initializer_list<unsigned long> errors;
};

// Windows' error codes (winerror.h) by what they mean for the user.
const Codes kCauses[] = {
    // ERROR_SHARING_VIOLATION, ERROR_LOCK_VIOLATION, ERROR_CLOUD_FILE_IN_USE.
    {SettingsFileCause::HeldByAnotherProgram, {32, 33, 391}},
    // The cloud provider not running, not signed in, offline, aborted, cancelled, ended or too slow
    // (ERROR_CLOUD_FILE_*: 362, 386, 388, 389, 393, 398, 404, 426); a file left offline (ERROR_FILE_OFFLINE 4350,
    // ERROR_REMOTE_STORAGE_NOT_ACTIVE 4351); a placeholder whose provider is away (ERROR_CANT_ACCESS_FILE 1920);
    // a drive not ready or gone (21, 55, 1167); a network path or share gone or unreachable (51, 53, 59, 64, 67,
    // 1203, 1231, 1232).
    {SettingsFileCause::NotOnThisComputer,
     {362, 386, 388, 389, 393, 398, 404, 426, 4350, 4351, 1920, 21, 55, 1167, 51, 53, 59, 64, 67, 1203, 1231, 1232}},
    // Read, and found wanting: its content, or its size (ERROR_FILE_TOO_LARGE).
    {SettingsFileCause::Damaged, {0, 223}},
};

std::wstring Remedy(SettingsFileCause cause, SettingsFileMoment moment) {
    const bool startup = moment == SettingsFileMoment::Startup;
    const std::wstring again = startup ? L"start the program again." : L"press \"Cancel\" again.";
    switch (cause) {
        case SettingsFileCause::HeldByAnotherProgram:
            return L"Another program has it open and keeps it from being read: close that program, then " + again;
        case SettingsFileCause::NotOnThisComputer:
            return L"It is not on this computer right now (it is kept online, or on a drive that is not connected): "
                   L"connect to the internet or the drive, then " +
                   again;
        case SettingsFileCause::Damaged:
            return L"Correct that file or delete it: without it the program starts with empty settings.";
        case SettingsFileCause::Unreadable:
            break;
    }
    return std::wstring(startup ? L"Start the program again" : L"Press \"Cancel\" again") +
           L"; if this box comes back, tell IT what it says.";
}

}  // namespace

SettingsFileCause SettingsFileCauseOf(unsigned long read_error) {
    for (const Codes& codes : kCauses) {
        if (std::find(codes.errors.begin(), codes.errors.end(), read_error) != codes.errors.end()) return codes.cause;
    }
    return SettingsFileCause::Unreadable;
}

std::wstring SettingsFileFailureText(std::wstring_view reason, std::wstring_view path, SettingsFileCause cause,
                                     SettingsFileMoment moment) {
    return std::wstring(reason) + L"\r\n\r\nThe settings file is \"" + std::wstring(path) + L"\". " +
           Remedy(cause, moment);
}
