// Measures Kavlo Connect side by side with reference programs, in one run, and writes the table.
//   bench_driver <Kavlo_Connect.exe> <work folder> <table.md> [sections]
// Sections, for a quicker look at one thing: any of "executable startup save leaks" (all by default).
// The reference window and the object counter are taken from the driver's own folder.
#include <windows.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

#include "executable_imports.h"
#include "figures.h"
#include "gui_objects.h"
#include "program_run.h"
#include "settings_dialog.h"

namespace fs = std::filesystem;

namespace {

constexpr int kStartupRuns = 21;
constexpr int kSaveClicks = 200;
constexpr int kLeakRounds = 500;
constexpr double kStartupTarget = 1.25, kMemoryTarget = 1.5, kSaveTarget = 3.0;
constexpr double kExecutableLimit = 1024 * 1024;
constexpr wchar_t kLauncherClass[] = L"KavloForm";
constexpr wchar_t kReferenceClass[] = L"KavloReferenceWindow";

struct Setting {
    fs::path kavlo, reference, counter, folder;
};

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

fs::path SystemFolder() {
    wchar_t folder[MAX_PATH] = {};
    GetSystemDirectoryW(folder, MAX_PATH);
    return folder;
}

// Windows' own: the API sets, and DLLs found in the system folder.
bool ShipsWithWindows(const std::string& dll) {
    return _strnicmp(dll.c_str(), "api-ms-win-", 11) == 0 || fs::exists(SystemFolder() / dll);
}

void MeasureExecutable(const Setting& setting, std::vector<FigureRow>& rows) {
    const auto image = ReadBytes(setting.kavlo);
    const double size = static_cast<double>(image.size());
    rows.push_back({"Executable size", FormatBytes(size), "", "", "at most 1 MiB, one file", size <= kExecutableLimit});
    std::string names, foreign;
    for (const std::string& dll : ImportedDllNames(image)) {
        names += (names.empty() ? "" : ", ") + dll;
        if (!ShipsWithWindows(dll)) foreign += " " + dll;
    }
    rows.push_back({"Imported DLLs", names, "", "", "only Windows' own" + (foreign.empty() ? "" : " (not:" + foreign + ")"),
                    foreign.empty()});
}

void MeasureStartup(const Setting& setting, std::vector<FigureRow>& rows) {
    std::vector<double> kavlo_ms, reference_ms, kavlo_ws, reference_ws, kavlo_private, reference_private;
    auto one_run = [&](const fs::path& program, const wchar_t* window_class, std::vector<double>& ms,
                       std::vector<double>& working_set, std::vector<double>& private_bytes, bool counted) {
        ProgramRun run(program, L"", setting.folder, window_class);
        run.WaitUntilIdle();
        Sleep(200);  // let the first paint and whatever follows it settle before the memory is read
        if (!counted) return;
        const MemoryFigures memory = run.Memory();
        ms.push_back(run.MillisecondsToShown());
        working_set.push_back(memory.working_set);
        private_bytes.push_back(memory.private_bytes);
    };
    // One run of each first, uncounted, so that both find the system's files in its cache; then in turns.
    for (int run = -1; run < kStartupRuns; ++run) {
        one_run(setting.kavlo, kLauncherClass, kavlo_ms, kavlo_ws, kavlo_private, run >= 0);
        one_run(setting.reference, kReferenceClass, reference_ms, reference_ws, reference_private, run >= 0);
    }
    const std::string runs = " (median of " + std::to_string(kStartupRuns) + " runs)";
    rows.push_back(RatioRow("Start-up to the launcher shown and idle" + runs, Median(kavlo_ms), Median(reference_ms),
                            kStartupTarget, FormatMilliseconds));
    rows.push_back(RatioRow("Working set once started" + runs, Median(kavlo_ws), Median(reference_ws), kMemoryTarget,
                            FormatBytes));
    rows.push_back(RatioRow("Private bytes once started" + runs, Median(kavlo_private), Median(reference_private),
                            kMemoryTarget, FormatBytes));
}

void MeasureSave(const Setting& setting, std::vector<FigureRow>& rows) {
    std::vector<double> kavlo_ms, reference_ms;
    {
        ProgramRun kavlo(setting.kavlo, L"", setting.folder, kLauncherClass);
        SettingsDialog dialog(kavlo);
        dialog.Save();  // the first writes both files where there were none
        for (int click = 0; click < kSaveClicks; ++click) kavlo_ms.push_back(dialog.TimeSave());
    }
    const auto rdp = ReadBytes(setting.folder / L"Kavlo.rdp"), ini = ReadBytes(setting.folder / L"setup_a.ini");
    {
        ProgramRun reference(setting.reference, L"/save", setting.folder, kReferenceClass);
        HWND save = FindWindowExW(reference.MainWindow(), nullptr, L"Button", L"Save");
        TimedClick(save);  // as Kavlo Connect's first, uncounted
        for (int click = 0; click < kSaveClicks; ++click) reference_ms.push_back(TimedClick(save));
    }
    if (ReadBytes(setting.folder / L"Kavlo.rdp") != rdp || ReadBytes(setting.folder / L"setup_a.ini") != ini)
        throw std::runtime_error("the reference wrote other bytes than Kavlo Connect");
    rows.push_back(RatioRow("\"Save\", both files written (median of " + std::to_string(kSaveClicks) + " clicks)",
                            Median(kavlo_ms), Median(reference_ms), kSaveTarget, FormatMilliseconds));
}

struct LeakSample {
    GuiObjects objects;
    MemoryFigures memory;
};

// GUI objects must not grow at all after the first opening and "Save". Private bytes may settle for a while:
// Wine's heap and X11 client touch new pages during the first hundred or so rounds, then stay flat. So the
// verdict on them compares a second batch of rounds with the first batch, where a leak would show again. Pages
// come and go one at a time, so the bar is what the smallest heap block lost in every round would add.
std::string MeasureLeaks(const Setting& setting, std::vector<FigureRow>& rows) {
    ProgramRun kavlo(setting.kavlo, L"", setting.folder, kLauncherClass);
    SettingsDialog dialog(kavlo);
    GuiObjectCounter counter(kavlo.Process(), setting.counter);
    auto sample = [&]() -> LeakSample {
        kavlo.WaitUntilIdle();
        Sleep(200);
        return {counter.Count(), kavlo.Memory()};
    };
    auto batch = [&] {
        for (int round = 0; round < kLeakRounds; ++round) {
            dialog.Open();
            dialog.CloseFromTitleBar();
        }
        for (int round = 0; round < kLeakRounds; ++round) dialog.Save();
    };
    dialog.Open();
    dialog.CloseFromTitleBar();
    dialog.Save();
    const LeakSample first = sample();
    batch();
    const LeakSample one_batch = sample();
    batch();
    const LeakSample two_batches = sample();

    const std::string batch_text =
        std::to_string(kLeakRounds) + " openings and closings and " + std::to_string(kLeakRounds) + " \"Save\" clicks";
    const double leak_bar = 16.0 * 2 * kLeakRounds;
    auto count = [](double n) { return std::to_string(static_cast<long long>(n)); };
    auto growth = [](double from, double to, auto format) { return (to > from ? "+" : "") + format(to - from); };
    auto objects_row = [&](const std::string& figure, double at_first, double after_one, double after_two) {
        rows.push_back({figure + " after " + batch_text + ", twice", count(after_one) + ", then " + count(after_two),
                        count(at_first) + " after the first", growth(at_first, after_two, count),
                        "no growth from the first", after_one <= at_first && after_two <= at_first});
    };
    objects_row("GDI objects", first.objects.gdi, one_batch.objects.gdi, two_batches.objects.gdi);
    objects_row("USER objects", first.objects.user, one_batch.objects.user, two_batches.objects.user);
    rows.push_back({"Private bytes after a second batch of " + batch_text, FormatBytes(two_batches.memory.private_bytes),
                    FormatBytes(one_batch.memory.private_bytes) + " after the first batch (" +
                        FormatBytes(first.memory.private_bytes) + " after the first round)",
                    growth(one_batch.memory.private_bytes, two_batches.memory.private_bytes, FormatBytes),
                    "no growth from the first batch: under " + FormatBytes(leak_bar) + ", 16 B a round",
                    two_batches.memory.private_bytes - one_batch.memory.private_bytes < leak_bar});
    return counter.Method();
}

fs::path OwnFolder() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return fs::path(path).parent_path();
}

// The work folder holds the program alone: it must run without anything beside it.
Setting Prepare(const fs::path& kavlo, const fs::path& folder) {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder);
    Setting setting{folder / L"Kavlo_Connect.exe", OwnFolder() / L"reference_window.exe",
                    OwnFolder() / L"gui_object_counter.dll", folder};
    fs::copy_file(kavlo, setting.kavlo);
    return setting;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 4 && argc != 5) {
        std::fputs("usage: bench_driver <Kavlo_Connect.exe> <work folder> <table.md> [sections]\n", stderr);
        return 2;
    }
    try {
        const Setting setting = Prepare(fs::absolute(argv[1]), fs::absolute(argv[2]));
        const std::wstring sections = argc == 5 ? argv[4] : L"executable startup save leaks";
        auto wanted = [&](const wchar_t* section) { return sections.find(section) != std::wstring::npos; };
        std::vector<FigureRow> rows;
        std::string method = "nothing (not measured)";
        if (wanted(L"executable")) MeasureExecutable(setting, rows);
        if (wanted(L"startup")) MeasureStartup(setting, rows);
        if (wanted(L"save")) MeasureSave(setting, rows);
        if (wanted(L"leaks")) method = MeasureLeaks(setting, rows);
        const std::string table =
            RenderTable(rows, "# Kavlo Connect: footprint and responsiveness") +
            "\nThe reference for start-up and memory is a bare Win32 program with one window of the launcher's size "
            "and a menu; for \"Save\", the same bytes written to the same two files with CreateFileW, WriteFile and "
            "CloseHandle, on a button click as well. GUI objects were counted with " + method + ".\n";
        std::fwrite(table.data(), 1, table.size(), stdout);
        std::ofstream(fs::absolute(argv[3]), std::ios::binary) << table;
        bool all_met = true;
        for (const FigureRow& row : rows) all_met = all_met && row.met;
        return all_met ? 0 : 1;
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "bench: %s\n", failure.what());
        return 2;
    }
}
