// What the benchmark programs share: a clock, their own folder and a scratch folder,
// timing a console program of reference, turns of a ratio with their spread, and the
// row each ratio adds to the run's summary (bench/run.sh prints the table).
#pragma once
#include <windows.h>
#include <algorithm>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

namespace qvbench
{

// Seconds on the performance counter; only differences mean anything.
inline double Seconds()
{
    LARGE_INTEGER frequency, now;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&now);
    return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The folder of the running program, where 7z.dll lies.
inline std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH];
    DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

// The run's own scratch folder (scripts/wine-run.sh gives one), else the temporary
// folder; without a trailing backslash.
inline std::wstring ScratchFolder()
{
    wchar_t folder[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"QV_TEST_SCRATCH", folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        length = GetTempPathW(MAX_PATH, folder);
    std::wstring result(folder, length);
    while (!result.empty() && result.back() == L'\\')
        result.pop_back();
    return result;
}

// A folder for data that stays from run to run (made once, reused by the next run),
// beside the run's scratch folder: `leaf` in "bench-folders".
inline std::wstring KeptFolder(const std::wstring& leaf)
{
    std::wstring root = ScratchFolder();
    const size_t cut = root.rfind(L'\\');
    if (cut != std::wstring::npos)
        root = root.substr(0, cut);
    root += L"\\bench-folders";
    CreateDirectoryW(root.c_str(), nullptr);
    return root + L"\\" + leaf;
}

// Runs a console command line (its program first, quoted when it has spaces) in
// `workDir` (the current folder when null), its output written to a regular file as a
// user's redirection would (the NUL device costs a round trip to the Wine server for
// every write, which would time Wine rather than the program). The seconds it took;
// -1 when it did not start or ended with an exit code other than 0: a reference that
// failed is no reference. `outputPath`, when given, names the output file, which is
// then kept for the caller to check.
inline double TimeProgram(std::wstring command, const wchar_t* workDir = nullptr,
                          const std::wstring& outputPath = std::wstring())
{
    const std::wstring output = outputPath.empty() ? ScratchFolder() + L"\\reference-output.txt" : outputPath;
    SECURITY_ATTRIBUTES inherit = {sizeof(inherit), nullptr, TRUE};
    HANDLE file = CreateFileW(output.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    HANDLE input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
    {
        if (input != INVALID_HANDLE_VALUE)
            CloseHandle(input);
        return -1;
    }
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = file;
    startup.hStdError = file;
    startup.hStdInput = input;
    PROCESS_INFORMATION process = {};
    const double start = Seconds();
    const BOOL started = CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                                        nullptr, workDir, &startup, &process);
    double seconds = -1;
    if (started)
    {
        WaitForSingleObject(process.hProcess, INFINITE);
        seconds = Seconds() - start;
        DWORD exitCode = 1;
        if (!GetExitCodeProcess(process.hProcess, &exitCode) || exitCode != 0)
            seconds = -1;
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    CloseHandle(file);
    if (input != INVALID_HANDLE_VALUE)
        CloseHandle(input);
    if (outputPath.empty())
        DeleteFileW(output.c_str());
    return seconds;
}

// The start-up of a console program alone: `exe` listing an empty zip archive (made in
// the scratch folder), its output written to a file as for the work it is set beside;
// the median of three, since on a loaded machine one start varies about as much as the
// work it is taken from. Under Wine a start costs a good part of a second, which a
// ratio against the program's whole time would count as work. -1 when it failed.
inline double TimeStartUp(const std::wstring& exe)
{
    const std::wstring empty = ScratchFolder() + L"\\empty-archive.zip";
    static const char endRecord[22] = {'P', 'K', 5, 6};
    HANDLE file =
        CreateFileW(empty.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return -1;
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, endRecord, sizeof(endRecord), &written, nullptr);
    CloseHandle(file);
    if (!wrote || written != sizeof(endRecord))
        return -1;
    double starts[3];
    for (double& seconds : starts)
    {
        seconds = TimeProgram(L"\"" + exe + L"\" l \"" + empty + L"\"");
        if (seconds < 0)
            return -1;
    }
    std::sort(starts, starts + 3);
    return starts[1];
}

// Appends one line to the run's summary file (QV_BENCH_RESULTS, set by bench/run.sh);
// nothing when the program runs alone.
inline void AppendSummaryLine(const std::string& line)
{
    wchar_t path[MAX_PATH];
    DWORD length = GetEnvironmentVariableW(L"QV_BENCH_RESULTS", path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    const std::string text = line + "\n";
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
}

// A row of the summary: the scenario, the value (the median over the turns), the
// lowest and highest turn, the number of turns, and the goal (0: none): the most the
// value may be, or with `atLeast` the least.
inline void RecordRow(const char* scenario, double value, double low, double high, int turns, double goal,
                      bool atLeast = false)
{
    char line[512];
    std::snprintf(line, sizeof line, "%s\t%.3f\t%.3f\t%.3f\t%d\t%.3f\t%s", scenario, value, low, high, turns,
                  goal, atLeast ? "min" : "max");
    AppendSummaryLine(line);
}

// A scenario that could not be measured, with the reason, in place of its row.
inline void RecordFailure(const char* scenario, const char* reason)
{
    std::printf("%-40s FAILED: %s\n", scenario, reason);
    std::fflush(stdout);
    AppendSummaryLine(std::string(scenario) + "\tFAILED\t" + reason);
}

// The turns of one scenario: each turn times our side and its reference back to back,
// so that other work on the machine weighs on both alike; the ratio reported is the
// median turn's, with the lowest and highest beside it.
class Turns
{
public:
    void Add(double ours, double reference) { m_timings.emplace_back(ours, reference); }
    // A turn whose reference is a console program, with that program's start-up alone
    // timed in the same turn (TimeStartUp).
    void Add(double ours, double reference, double startUp)
    {
        Add(ours, reference);
        m_startUps.push_back(startUp);
    }
    bool Empty() const { return m_timings.empty(); }

    // Prints the scenario's line and adds its row to the summary. A scenario with no
    // turn, or a failed side in any turn (a negative time), is a failure: a ratio
    // against a reference that did not do its work means nothing.
    void Report(const char* scenario, double goal, const char* reference = "reference")
    {
        std::vector<std::pair<double, double>> sorted;
        size_t oursFailed = 0, referenceFailed = 0;
        for (const auto& t : m_timings)
        {
            oursFailed += t.first < 0;
            referenceFailed += t.second <= 0;
            if (t.first >= 0 && t.second > 0)
                sorted.push_back(t);
        }
        if (m_timings.empty())
        {
            RecordFailure(scenario, "no turn");
            return;
        }
        if (oursFailed + referenceFailed > 0)
        {
            char reason[160];
            std::snprintf(reason, sizeof reason, "%s failed in %zu and ours in %zu of %zu turns", reference,
                          referenceFailed, oursFailed, m_timings.size());
            RecordFailure(scenario, reason);
            return;
        }
        std::sort(sorted.begin(), sorted.end(),
                  [](const auto& a, const auto& b) { return a.first * b.second < b.first * a.second; });
        const auto& median = sorted[sorted.size() / 2];
        const double ratio = median.first / median.second;
        const double low = sorted.front().first / sorted.front().second;
        const double high = sorted.back().first / sorted.back().second;
        std::printf("%-40s %8.3f s   %s %8.3f s   ratio %5.2f (%.2f-%.2f, %zu turns)", scenario, median.first,
                    reference, median.second, ratio, low, high, sorted.size());
        if (goal > 0)
            std::printf("   goal %.2f%s", goal, ratio <= goal ? "" : "  OVER");
        std::printf("\n");
        std::fflush(stdout);
        RecordRow(scenario, ratio, low, high, static_cast<int>(sorted.size()), goal);
        if (!m_startUps.empty())
            ReportWork(scenario, reference);
    }

private:
    // Beside the raw ratio, the ratio against the reference's work alone: the median of
    // our times over the median of the references less the median start-up, all timed
    // in the same turns; the spread is that of the turns whose reference outlasted its
    // start-up. A small work under a start-up that varies as much as it does can come
    // out at nothing in one turn, which the medians ride over. A row without a goal,
    // failed when a start-up failed or the medians leave no work.
    void ReportWork(const char* scenario, const char* reference)
    {
        const std::string name = std::string(scenario) + ", work without start-up";
        std::vector<double> ours, references, startUps, ratios;
        for (size_t i = 0; i < m_timings.size() && i < m_startUps.size(); ++i)
        {
            if (m_startUps[i] <= 0)
            {
                RecordFailure(name.c_str(), "the start-up alone failed");
                return;
            }
            ours.push_back(m_timings[i].first);
            references.push_back(m_timings[i].second);
            startUps.push_back(m_startUps[i]);
            if (m_timings[i].second > m_startUps[i])
                ratios.push_back(m_timings[i].first / (m_timings[i].second - m_startUps[i]));
        }
        if (ours.empty())
            return;
        auto median = [](std::vector<double>& values) {
            std::sort(values.begin(), values.end());
            return values[values.size() / 2];
        };
        const double startUp = median(startUps);
        const double work = median(references) - startUp;
        if (work <= 0 || ratios.empty())
        {
            RecordFailure(name.c_str(), "the start-up could not be told from the work");
            return;
        }
        const double ratio = median(ours) / work;
        std::sort(ratios.begin(), ratios.end());
        std::printf(
            "%-40s %s start-up %.3f s (%.3f-%.3f), work %.3f s   ratio %5.2f (%.2f-%.2f, %zu of %zu turns)\n",
            name.c_str(), reference, startUp, startUps.front(), startUps.back(), work, ratio, ratios.front(),
            ratios.back(), ratios.size(), ours.size());
        std::fflush(stdout);
        RecordRow(name.c_str(), ratio, ratios.front(), ratios.back(), static_cast<int>(ratios.size()), 0);
    }

    std::vector<std::pair<double, double>> m_timings; // ours, reference
    std::vector<double> m_startUps;                   // the reference's start-up, when timed
};

} // namespace qvbench
