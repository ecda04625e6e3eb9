#pragma once
// Where start-up time goes, for whoever makes start-up faster. In a build configured with
// -DKAVLO_STARTUP_TIMING=ON, and with the environment variable KAVLO_STARTUP_TIMES set to a file's path, each named
// step's time is added up and, once the launcher has painted and its queue is empty, written to that file as a
// table, with the time from the process's creation. In the shipped build a step is nothing at all.

#include <string>

#ifdef KAVLO_STARTUP_TIMING

// Times its own scope under `name`, or under `whose` step `name` is (a form's, say). Steps inside steps are shown
// indented.
class StartupStep {
public:
    explicit StartupStep(const wchar_t* name);
    StartupStep(const std::wstring& whose, const wchar_t* name);
    ~StartupStep();
    StartupStep(const StartupStep&) = delete;
    StartupStep& operator=(const StartupStep&) = delete;

private:
    long long started_ = 0;
    int row_ = -1;
};

bool StartupTimesWanted();

// Writes the table (once) and stops timing.
void WriteStartupTimes();

#else

class StartupStep {
public:
    explicit StartupStep(const wchar_t*) {}
    StartupStep(const std::wstring&, const wchar_t*) {}
};

inline bool StartupTimesWanted() { return false; }
inline void WriteStartupTimes() {}

#endif
