#pragma once
// The running installation as a custom action sees it: its properties and its log.
#include <windows.h>
#include <msi.h>
#include <string>

class InstallerSession {
public:
    explicit InstallerSession(MSIHANDLE install) : install_(install) {}

    // The property's value; empty when it is not set. In a deferred action only "CustomActionData" answers.
    std::wstring Property(const wchar_t* name) const;
    void SetProperty(const wchar_t* name, const std::wstring& value);
    // A line in the installer's log (msiexec /l*v), whatever the user interface.
    void Log(const std::wstring& text);
    // An error: in the log, and in a box when the installer shows its dialogs.
    void ReportError(const std::wstring& text);

private:
    void Message(INSTALLMESSAGE kind, const std::wstring& text);

    MSIHANDLE install_;
};
