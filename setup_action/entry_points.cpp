// The package's two custom actions (packaging/Kavlo_Connect.wxs). PrepareSettings runs at once, before anything is
// installed: it reads the settings given on msiexec's command line and decides whether this is a first install.
// WriteSettings runs in the installation's script once the files are in place, and stores them. A failure of either
// is reported in the installer's log and fails the installation, which is then rolled back.
#include "platform/ansi_best_fit.h"
#include "platform/failure.h"
#include "platform/failure_text.h"
#include "platform/files.h"
#include "platform/text.h"
#include "settings/save_refusal.h"
#include "settings/settings_objects.h"
#include "setup_action/first_settings.h"
#include "setup_action/given_settings.h"
#include "setup_action/installer_session.h"

#include <windows.h>
#include <msi.h>

namespace {

// WriteSettings's name in the package: the property of that name is what the deferred action is given.
const wchar_t kWriteSettings[] = L"WriteSettings";

HMODULE ThisModule() {
    HMODULE module = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&ThisModule), &module);
    return module;
}

// The settings dialog's layout, built into this DLL from the program's own file.
LayoutObject SettingsLayout() {
    const HMODULE module = ThisModule();
    HRSRC found = FindResourceW(module, settings_objects::kLayout, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* bytes = static_cast<const char*>(loaded ? LockResource(loaded) : nullptr);
    if (!bytes) throw Failure(L"Resource " + std::wstring(settings_objects::kLayout) + L" not found");
    std::string_view text(bytes, SizeofResource(module, found));
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    return ParseLayout(Utf8ToWide(text), settings_objects::kLayout);
}

template <typename Step>
UINT Run(MSIHANDLE install, Step step) noexcept {
    InstallerSession session(install);
    try {
        try {
            step(session);
            return ERROR_SUCCESS;
        } catch (const Failure& failure) {
            session.ReportError(FailureBoxText(failure));
        } catch (const std::exception& exception) {
            session.ReportError(Utf8ToWide(exception.what()));
        }
    } catch (...) {
        // Nothing more can be said; the installation fails all the same.
    }
    return ERROR_INSTALL_FAILURE;
}

}  // namespace

extern "C" __declspec(dllexport) UINT __stdcall PrepareSettings(MSIHANDLE install) {
    return Run(install, [](InstallerSession& session) {
        PropertyValues properties;
        for (const wchar_t* name : kSettingProperties) properties.emplace_back(name, session.Property(name));
        const GivenSettings given = ReadGivenSettings(properties);
        if (given.Empty()) {
            session.Log(L"no settings on the command line (SERVER, WIFI, VPNENTRY, VPNUSER, USEVPN): none stored");
            return;
        }
        const std::wstring folder = session.Property(L"INSTALLDIR");
        const std::wstring settings_file = folder + settings_objects::kSettingsFile;
        if (FileExists(settings_file)) {
            session.Log(settings_file +
                        L" is there already, the user's own: the settings on the command line are "
                        L"not stored");
            return;
        }
        // Refused now, before anything is installed, as "Save" would refuse them.
        if (const auto refusal =
                SaveRefusal(given.server_address.value_or(L""), given.wifi_network.value_or(L""),
                            given.vpn_entry.value_or(L""), given.vpn_user.value_or(L""), L"", AnsiBestFitReading))
            throw Failure(*refusal);
        session.SetProperty(kWriteSettings, PackHandOver({folder, properties}));
        session.Log(L"a first install: the settings on the command line will be stored in " + settings_file);
    });
}

extern "C" __declspec(dllexport) UINT __stdcall WriteSettings(MSIHANDLE install) {
    return Run(install, [](InstallerSession& session) {
        const SettingsHandOver hand_over = UnpackHandOver(session.Property(L"CustomActionData"));
        for (const std::wstring& line :
             StoreFirstSettings(SettingsLayout(), hand_over.folder, ReadGivenSettings(hand_over.properties)))
            session.Log(line);
    });
}
