#pragma once
// The settings dialog's layout objects by role. Their names are data: the six settings' objects name the settings
// file's sections ("[Edit5: TcxPropertiesStoreComponent]") and stay as they are. The dialog binds its members by
// them; the installer's first-settings step reads the same layout without making windows. Pure.
namespace settings_objects {

inline constexpr wchar_t kLayout[] = L"SETTINGS_DIALOG";    // the layout's resource
inline constexpr wchar_t kSettingsFile[] = L"setup_a.ini";  // beside the executable: the sections named below

inline constexpr wchar_t kWifiNetwork[] = L"Edit1";
inline constexpr wchar_t kServerAddress[] = L"Edit5";
inline constexpr wchar_t kUseVpn[] = L"CheckBox2";
inline constexpr wchar_t kVpnEntry[] = L"Edit2";
inline constexpr wchar_t kVpnUser[] = L"Edit3";
inline constexpr wchar_t kVpnPassword[] = L"Edit4";

inline constexpr wchar_t kConnectionTemplate[] = L"Memo2";  // hidden: the connection file's template
inline constexpr wchar_t kConnectionText[] = L"Memo1";      // hidden: the text made from it on "Save"
inline constexpr wchar_t kStore[] = L"cxPropertiesStore1";  // the bindings of the settings file

}  // namespace settings_objects
