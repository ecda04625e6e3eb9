#include "platform/startup_times.h"

#ifdef KAVLO_STARTUP_TIMING

#include <windows.h>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Row {
    std::wstring name;
    int parent;  // the row of the step this one ran inside, or -1
    int depth;
    long long ticks = 0;
    int times = 0;
};

struct Times {
    bool wanted = false;
    std::wstring file;
    long long entered = 0;        // the counter when the first step began
    double entered_after_ms = 0;  // ... and how long after the process's creation that was
    std::vector<int> open;        // rows of the steps running now, outermost first
    std::vector<Row> rows;
};

long long Counter() {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return now.QuadPart;
}

double Milliseconds(long long ticks) {
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(ticks) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double MillisecondsSinceCreation() {
    FILETIME created, exited, kernel, user, now;
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user)) return 0;
    GetSystemTimePreciseAsFileTime(&now);
    auto value = [](const FILETIME& t) { return static_cast<long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime; };
    return static_cast<double>(value(now) - value(created)) / 10000.0;
}

Times& TheTimes() {
    static Times times = [] {
        Times made;
        wchar_t file[MAX_PATH] = {};
        const DWORD length = GetEnvironmentVariableW(L"KAVLO_STARTUP_TIMES", file, MAX_PATH);
        if (length == 0 || length >= MAX_PATH) return made;
        made.wanted = true;
        made.file = file;
        made.entered_after_ms = MillisecondsSinceCreation();
        made.entered = Counter();
        made.rows.reserve(64);
        return made;
    }();
    return times;
}

}  // namespace

bool StartupTimesWanted() { return TheTimes().wanted; }

StartupStep::StartupStep(const std::wstring& whose, const wchar_t* name)
    : StartupStep((whose + L": " + name).c_str()) {}

StartupStep::StartupStep(const wchar_t* name) {
    Times& times = TheTimes();
    if (!times.wanted) return;
    const int parent = times.open.empty() ? -1 : times.open.back();
    for (std::size_t i = 0; i < times.rows.size(); ++i)
        if (times.rows[i].name == name && times.rows[i].parent == parent) row_ = static_cast<int>(i);
    if (row_ < 0) {
        times.rows.push_back({name, parent, static_cast<int>(times.open.size())});
        row_ = static_cast<int>(times.rows.size()) - 1;
    }
    times.open.push_back(row_);
    started_ = Counter();
}

StartupStep::~StartupStep() {
    Times& times = TheTimes();
    if (!times.wanted || row_ < 0) return;
    Row& row = times.rows[static_cast<std::size_t>(row_)];
    row.ticks += Counter() - started_;
    ++row.times;
    times.open.pop_back();
}

void WriteStartupTimes() {
    Times& times = TheTimes();
    if (!times.wanted) return;
    times.wanted = false;
    const double total = MillisecondsSinceCreation();
    std::FILE* file = _wfopen(times.file.c_str(), L"w");
    if (!file) return;
    std::fprintf(file, "| step (a step's own steps below it, indented) | ms | times |\n|---|---:|---:|\n");
    std::fprintf(file, "| before the entry point (loader, DLLs, runtime) | %.1f | 1 |\n", times.entered_after_ms);
    // Each step, then its own steps, in the order they first ran.
    auto write_rows = [&](int parent, auto& self) -> void {
        for (std::size_t i = 0; i < times.rows.size(); ++i) {
            const Row& row = times.rows[i];
            if (row.parent != parent) continue;
            std::string name;
            for (int level = 0; level < row.depth; ++level) name += "\xC2\xB7 ";  // "· "
            const int bytes = WideCharToMultiByte(CP_UTF8, 0, row.name.c_str(), -1, nullptr, 0, nullptr, nullptr);
            std::string utf8(static_cast<std::size_t>(bytes > 0 ? bytes - 1 : 0), '\0');
            WideCharToMultiByte(CP_UTF8, 0, row.name.c_str(), -1, utf8.data(), bytes, nullptr, nullptr);
            std::fprintf(file, "| %s%s | %.1f | %d |\n", name.c_str(), utf8.c_str(), Milliseconds(row.ticks),
                         row.times);
            self(static_cast<int>(i), self);
        }
    };
    write_rows(-1, write_rows);
    std::fprintf(file, "| **from the process's creation to the launcher painted and idle** | %.1f | |\n", total);
    std::fclose(file);
}

#endif
