#include "start_wait.h"

#include "program_run.h"
#include "settings_dialog.h"
#include "tests/support/window_search.h"
#include "ui/window_classes.h"

#include <windows.h>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <tlhelp32.h>

namespace fs = std::filesystem;

namespace {
constexpr int kDials = 5;
constexpr wchar_t kDialMilliseconds[] = L"2000";
constexpr double kTargetMs = 500;  // "within a few tenths of a second"
constexpr const wchar_t* kLauncherClass = kFormClassName;
const wchar_t kExtensionKey[] = L"Software\\Classes\\.rdp";
const wchar_t kProgIdKey[] = L"Software\\Classes\\Kavlo.BenchRdpFile";
const wchar_t kCommandKey[] = L"Software\\Classes\\Kavlo.BenchRdpFile\\shell\\open\\command";

bool UnderWine() {
    HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

void SetDefaultValue(const wchar_t* key_path, const std::wstring& value) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, key_path, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        throw std::runtime_error("cannot write the .rdp association");
    RegSetValueExW(key, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
}

// ".rdp" opened by the stand-in handler while it lives (HKLM: the only place Wine's shell reads).
struct RdpAssociation {
    explicit RdpAssociation(const fs::path& handler) {
        SetDefaultValue(kExtensionKey, L"Kavlo.BenchRdpFile");
        SetDefaultValue(kCommandKey, L"\"" + handler.wstring() + L"\" \"%1\"");
    }
    ~RdpAssociation() {
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kProgIdKey);
        RegDeleteTreeW(HKEY_LOCAL_MACHINE, kExtensionKey);
    }
    RdpAssociation(const RdpAssociation&) = delete;
    RdpAssociation& operator=(const RdpAssociation&) = delete;
};

double Milliseconds(const FILETIME& time) {
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) /
           10000.0;
}

// The rasdial the program started, once it runs; not the one of id `earlier`, which has ended.
HANDLE DialProcess(DWORD parent, DWORD& earlier) {
    HANDLE found = nullptr;
    WaitUntil(
        [&] {
            HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
            PROCESSENTRY32W entry{};
            entry.dwSize = sizeof entry;
            for (BOOL more = Process32FirstW(snapshot, &entry); more && !found; more = Process32NextW(snapshot, &entry))
                if (entry.th32ParentProcessID == parent && entry.th32ProcessID != earlier &&
                    _wcsicmp(entry.szExeFile, L"rasdial.exe") == 0) {
                    found = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID);
                    earlier = entry.th32ProcessID;
                }
            CloseHandle(snapshot);
            return found != nullptr;
        },
        "the dial to start");
    return found;
}

// The start time (ms since 1601) of the handler's `count`-th line in the calls log.
double HandlerStart(const fs::path& log, int count) {
    double started = 0;
    WaitUntil(
        [&] {
            std::ifstream file(log, std::ios::binary);
            std::string line;
            int seen = 0;
            while (std::getline(file, line)) {
                if (line.rfind("rdp_handler\t", 0) != 0 || ++seen < count) continue;
                started = std::stod(line.substr(line.find('\t') + 1));
                return true;
            }
            return false;
        },
        "Kavlo.rdp to be opened");
    return started;
}
}  // namespace

void MeasureStartWait(const fs::path& kavlo, const fs::path& stand_ins, const fs::path& folder,
                      std::vector<FigureRow>& rows) {
    if (!UnderWine()) return;
    wchar_t system_folder[MAX_PATH] = {};
    GetSystemDirectoryW(system_folder, MAX_PATH);
    if (!CopyFileW((stand_ins / L"rasdial.exe").c_str(), (fs::path(system_folder) / L"rasdial.exe").c_str(), FALSE))
        throw std::runtime_error("cannot put the stand-in rasdial into the system folder");
    const RdpAssociation association(stand_ins / L"rdp_handler.exe");
    const fs::path log = folder / L"calls.log";
    std::error_code ignored;
    fs::remove(log, ignored);
    std::ofstream(folder / L"Kavlo.rdp") << "full address:s:192.168.1.1:7777\r\n";
    SetEnvironmentVariableW(L"KAVLO_CALLS_LOG", log.c_str());
    SetEnvironmentVariableW(L"KAVLO_FAKE_RASDIAL_MS", kDialMilliseconds);

    std::vector<double> delays;
    {
        ProgramRun program(kavlo, L"", folder, kLauncherClass);
        SettingsDialog dialog(program, kLauncherClass);
        dialog.Open();
        HWND use_vpn = FindDescendant(dialog.Window(), L"Button", L"زمان اتصال VPN استفاده از ");
        if (!use_vpn) throw std::runtime_error("the use-VPN box was not found");
        SendMessageW(use_vpn, BM_CLICK, 0, 0);
        dialog.CloseFromTitleBar();
        HWND start = FindDescendant(program.MainWindow(), L"Button", L"Start");
        if (!start) throw std::runtime_error("the Start button was not found");
        DWORD earlier = 0;
        for (int dial = 1; dial <= kDials; ++dial) {
            PostMessageW(start, BM_CLICK, 0, 0);
            HANDLE process = DialProcess(program.Id(), earlier);
            WaitForSingleObject(process, 30000);
            FILETIME created{}, exited{}, kernel{}, user{};
            GetProcessTimes(process, &created, &exited, &kernel, &user);
            CloseHandle(process);
            delays.push_back(HandlerStart(log, dial) - Milliseconds(exited));
            program.WaitUntilIdle();
        }
    }
    SetEnvironmentVariableW(L"KAVLO_CALLS_LOG", nullptr);
    SetEnvironmentVariableW(L"KAVLO_FAKE_RASDIAL_MS", nullptr);
    const double delay = Median(delays);
    rows.push_back({"\"Start\": from the dial's end to the open of Kavlo.rdp (median of " + std::to_string(kDials) +
                        " dials of 2 s)",
                    FormatMilliseconds(delay), "", "", "under 0.5 s", delay < kTargetMs});
}
