// Measures Kavlo Connect side by side with reference programs, in one run, and writes the table.
//   bench_driver <Kavlo_Connect.exe> <work folder> <table.md> [sections]
// Sections, for a quicker look at one thing: any of "executable startup save leaks start" (all by default).
// The references and the object counter are taken from the driver's own folder.
#include "figures.h"
#include "gui_objects.h"
#include "program_run.h"
#include "settings_dialog.h"
#include "start_wait.h"
#include "tests/support/executable_imports.h"
#include "ui/window_classes.h"

#include <windows.h>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <vector>

namespace fs = std::filesystem;

namespace {

constexpr int kStartupRuns = 21;
constexpr int kSaveClicks = 200;
constexpr int kLeakRounds = 500;
// Start-up, memory and "Save" are judged against the same windows made by hand (with the same safe writes);
// the bare window is the floor, reported only.
constexpr double kStartupTarget = 1.1, kMemoryTarget = 1.5, kSaveTarget = 2.0;
constexpr double kExecutableLimit = 1024 * 1024;
constexpr const wchar_t* kLauncherClass = kFormClassName;
constexpr wchar_t kHandMadeClass[] = L"HandMadeForm";
constexpr wchar_t kBareClass[] = L"KavloReferenceWindow";

struct Setting {
    fs::path kavlo, hand_made, bare, counter, folder;
};

std::vector<std::uint8_t> ReadBytes(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw std::runtime_error("cannot read " + path.string());
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

void MeasureExecutable(const Setting& setting, std::vector<FigureRow>& rows) {
    const auto image = ReadBytes(setting.kavlo);
    const double size = static_cast<double>(image.size());
    rows.push_back({"Executable size", FormatBytes(size), "", "", "at most 1 MiB, one file", size <= kExecutableLimit});
    std::string names, foreign;
    for (const std::string& dll : ImportedDllNames(image)) {
        names += (names.empty() ? "" : ", ") + dll;
        if (!LoadsOnlyFromSystem(dll)) foreign += " " + dll;
    }
    rows.push_back({"Imported DLLs", names, "", "",
                    "only DLLs never looked for beside it" + (foreign.empty() ? "" : " (not:" + foreign + ")"),
                    foreign.empty()});
}

// What one program's runs gave, each run's figures in turn.
struct StartupRuns {
    std::vector<double> visible_ms, ms, working_set, private_bytes;
};

void MeasureStartup(const Setting& setting, std::vector<FigureRow>& rows) {
    StartupRuns kavlo, hand_made, bare;
    auto one_run = [&](const fs::path& program, const wchar_t* window_class, StartupRuns& runs, bool counted) {
        ProgramRun run(program, L"", setting.folder, window_class);
        run.WaitUntilIdle();
        Sleep(200);  // let the first paint and whatever follows it settle before the memory is read
        if (!counted) return;
        const MemoryFigures memory = run.Memory();
        runs.visible_ms.push_back(run.MillisecondsToVisible());
        runs.ms.push_back(run.MillisecondsToShown());
        runs.working_set.push_back(memory.working_set);
        runs.private_bytes.push_back(memory.private_bytes);
    };
    // One run of each first, uncounted, so that all find the system's files in its cache; then in turns.
    for (int run = -1; run < kStartupRuns; ++run) {
        one_run(setting.kavlo, kLauncherClass, kavlo, run >= 0);
        one_run(setting.hand_made, kHandMadeClass, hand_made, run >= 0);
        one_run(setting.bare, kBareClass, bare, run >= 0);
    }
    const std::string runs = " (median of " + std::to_string(kStartupRuns) + " runs)";
    const std::string against_hand_made = ", against the same windows made by hand";
    const std::string against_bare = ", against a bare window: the floor";
    struct Figure {
        std::string name;
        std::vector<double> StartupRuns::*values;
        double target;
        std::string (*format)(double);
    };
    const Figure figures[] = {
        {"Start-up to the launcher first visible", &StartupRuns::visible_ms, kStartupTarget, FormatMilliseconds},
        {"Start-up to the launcher shown and idle", &StartupRuns::ms, kStartupTarget, FormatMilliseconds},
        {"Working set once started", &StartupRuns::working_set, kMemoryTarget, FormatBytes},
        {"Private bytes once started", &StartupRuns::private_bytes, kMemoryTarget, FormatBytes}};
    for (const Figure& figure : figures) {
        const double measured = Median(kavlo.*figure.values);
        rows.push_back(RatioRow(figure.name + against_hand_made + runs, measured, Median(hand_made.*figure.values),
                                figure.target, figure.format));
        rows.push_back(
            FloorRow(figure.name + against_bare + runs, measured, Median(bare.*figure.values), figure.format));
    }
}

void MeasureSave(const Setting& setting, std::vector<FigureRow>& rows) {
    ProgramRun kavlo(setting.kavlo, L"", setting.folder, kLauncherClass);
    SettingsDialog kavlo_dialog(kavlo, kLauncherClass);
    kavlo_dialog.Save();  // the first, uncounted, writes both files where there were none
    const fs::path rdp_path = setting.folder / L"Kavlo.rdp", ini_path = setting.folder / L"setup_a.ini";
    const auto rdp = ReadBytes(rdp_path), ini = ReadBytes(ini_path);

    // Both references take the bytes Kavlo Connect wrote, at their start, and write them again on every click.
    ProgramRun hand_made(setting.hand_made, L"/save", setting.folder, kHandMadeClass);
    SettingsDialog hand_made_dialog(hand_made, kHandMadeClass);
    ProgramRun bare(setting.bare, L"/save", setting.folder, kBareClass);
    HWND bare_save = FindWindowExW(bare.MainWindow(), nullptr, L"Button", L"Save");
    // Each reference's first click, uncounted, makes the files anew, as Kavlo Connect's first did: they are removed
    // before it, so the comparison after it shows that the reference wrote them, and the same bytes.
    auto first_click = [&](const char* reference, auto click) {
        fs::remove(rdp_path);
        fs::remove(ini_path);
        click();
        if (ReadBytes(rdp_path) != rdp || ReadBytes(ini_path) != ini)
            throw std::runtime_error(std::string("the ") + reference + " wrote other bytes than Kavlo Connect");
    };
    first_click("hand-made reference", [&] { hand_made_dialog.Save(); });
    first_click("bare reference", [&] { TimedClick(bare_save); });

    // In turns, as the start-up runs, so that a change in the machine's load falls on all three alike. Each click
    // is made once the program clicked before has settled, so that no program's repaint overlaps another's click.
    std::vector<double> kavlo_ms, hand_made_ms, bare_ms;
    for (int click = 0; click < kSaveClicks; ++click) {
        kavlo_ms.push_back(kavlo_dialog.TimeSave());
        kavlo.WaitUntilIdle();
        hand_made_ms.push_back(hand_made_dialog.TimeSave());
        hand_made.WaitUntilIdle();
        Sleep(30);  // as TimeSave waits for a dialog's first paint
        bare_ms.push_back(TimedClick(bare_save));
        bare.WaitUntilIdle();
    }
    const std::string clicks = " (median of " + std::to_string(kSaveClicks) + " clicks)";
    rows.push_back(RatioRow("\"Save\", both files written, against the same safe writes made by hand" + clicks,
                            Median(kavlo_ms), Median(hand_made_ms), kSaveTarget, FormatMilliseconds));
    rows.push_back(FloorRow("\"Save\", both files written, against plain writes: the floor" + clicks, Median(kavlo_ms),
                            Median(bare_ms), FormatMilliseconds));
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
    SettingsDialog dialog(kavlo, kLauncherClass);
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
    rows.push_back({"Private bytes after a second batch of " + batch_text,
                    FormatBytes(two_batches.memory.private_bytes),
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

// The work folder holds the program alone, which must run without anything beside it, and the hand-made
// reference, so that both find their settings file in the same folder.
Setting Prepare(const fs::path& kavlo, const fs::path& folder) {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
    fs::create_directories(folder);
    Setting setting{folder / L"Kavlo_Connect.exe", folder / L"hand_made_windows.exe",
                    OwnFolder() / L"reference_window.exe", OwnFolder() / L"gui_object_counter.dll", folder};
    fs::copy_file(kavlo, setting.kavlo);
    fs::copy_file(OwnFolder() / L"hand_made_windows.exe", setting.hand_made);
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
        const std::wstring sections = argc == 5 ? argv[4] : L"executable startup save leaks start";
        auto wanted = [&](const wchar_t* section) { return sections.find(section) != std::wstring::npos; };
        std::vector<FigureRow> rows;
        std::string method = "nothing (not measured)";
        if (wanted(L"executable")) MeasureExecutable(setting, rows);
        if (wanted(L"startup")) MeasureStartup(setting, rows);
        if (wanted(L"save")) MeasureSave(setting, rows);
        if (wanted(L"leaks")) method = MeasureLeaks(setting, rows);
        if (wanted(L"start"))
            MeasureStartWait(setting.kavlo, fs::absolute(argv[1]).parent_path(), setting.folder, rows);
        const std::string table =
            RenderTable(rows, "# Kavlo Connect: footprint and responsiveness") +
            "\nThe judged reference for start-up and memory is the same windows made by hand with plain Win32 calls, "
            "in the program's order and with its manifest, icon, font, captions and pictures, but without its form "
            "framework, layout text or style (bench/reference/hand_made_windows.cpp); for \"Save\", that program's "
            "settings dialog writing the same bytes to the same two files with the program's safe writes (temporary "
            "file, flush, move over), on the same kind of click. The floor rows are reported only: a bare Win32 "
            "window of the launcher's size with a menu and no manifest, and the same bytes written plainly with "
            "CreateFileW, WriteFile and CloseHandle on a button click. GUI objects were counted with " +
            method + ".\n";
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
