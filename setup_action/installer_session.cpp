#include "setup_action/installer_session.h"

#include "platform/failure.h"

#include <msiquery.h>

namespace {

class OwnedRecord {
public:
    explicit OwnedRecord(unsigned fields) : handle_(MsiCreateRecord(fields)) {}
    ~OwnedRecord() {
        if (handle_) MsiCloseHandle(handle_);
    }
    OwnedRecord(const OwnedRecord&) = delete;
    OwnedRecord& operator=(const OwnedRecord&) = delete;
    MSIHANDLE get() const { return handle_; }

private:
    MSIHANDLE handle_;
};

}  // namespace

std::wstring InstallerSession::Property(const wchar_t* name) const {
    std::wstring value(64, L'\0');
    for (;;) {
        DWORD size = static_cast<DWORD>(value.size());
        const UINT status = MsiGetPropertyW(install_, name, value.data(), &size);
        if (status == ERROR_SUCCESS) {
            value.resize(size);
            return value;
        }
        if (status != ERROR_MORE_DATA) {
            throw Failure(L"Cannot read the installer's property " + std::wstring(name) + L", error " +
                          std::to_wstring(status));
        }
        value.resize(static_cast<std::size_t>(size) + 1);
    }
}

void InstallerSession::SetProperty(const wchar_t* name, const std::wstring& value) {
    const UINT status = MsiSetPropertyW(install_, name, value.c_str());
    if (status != ERROR_SUCCESS) {
        throw Failure(L"Cannot set the installer's property " + std::wstring(name) + L", error " +
                      std::to_wstring(status));
    }
}

void InstallerSession::Log(const std::wstring& text) { Message(INSTALLMESSAGE_INFO, text); }

void InstallerSession::ReportError(const std::wstring& text) {
    Message(static_cast<INSTALLMESSAGE>(INSTALLMESSAGE_ERROR | MB_OK | MB_ICONERROR), text);
}

// The text goes in as the record's first field behind the template "[1]", so that brackets in a value are printed
// rather than taken for the installer's own formatting.
void InstallerSession::Message(INSTALLMESSAGE kind, const std::wstring& text) {
    OwnedRecord record(1);
    if (!record.get()) return;
    MsiRecordSetStringW(record.get(), 0, L"Kavlo Connect: [1]");
    MsiRecordSetStringW(record.get(), 1, text.c_str());
    MsiProcessMessage(install_, kind, record.get());
}
