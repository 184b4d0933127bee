// Measurements of the real program, printed one per line as "name: value unit" for
// scripts/bench: start-up to the window shown, peak memory, the processor time of Close's
// waits beside a busy-spin wait of the same length, and Refresh List and Check All over many
// windows from the click to the list painted. (Idling is measured from the host, whose
// process times are finer than Wine's.)

#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

#include "Driver.h"

namespace {

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double OwnCpuSeconds() {
    FILETIME created, exited, kernel, user;
    GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user);
    const auto seconds = [](const FILETIME& t) {
        return ((static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime) / 1e7;
    };
    return seconds(kernel) + seconds(user);
}

// The waiting the program does not do: a loop that only looks at the clock.
void BusySpin(double seconds) {
    const auto start = std::chrono::steady_clock::now();
    while (SecondsSince(start) < seconds) {
    }
}

// The median of nine clicks on a button, each from the click to the list painted.
double MedianClick(const ProgramUnderTest& program, const wchar_t* caption, const wchar_t* between) {
    std::vector<double> times;
    for (int run = 0; run < 9; ++run) {
        if (between != nullptr) program.Click(between);
        times.push_back(program.ClickUntilPainted(caption));
    }
    std::sort(times.begin(), times.end());
    return times[4];
}

void MeasureManyRows(const std::wstring& exe) {
    Targets targets;
    int made = 0;
    for (const int count : {400, 1000}) {
        for (; made < count; ++made) {
            targets.Create(L"Velmora Bench Row " + std::to_wstring(made), WS_OVERLAPPEDWINDOW);
        }
        PumpFor(2000);
        ProgramUnderTest program(exe);
        const double refresh = MedianClick(program, L"Refresh List (Ctrl+Shift+L)", nullptr);
        const std::size_t rows = ReadRows(program).size();
        std::printf("refresh over %zu rows, click to painted: %.1f ms (median of 9)\n", rows, refresh);
        const double checkAll = MedianClick(program, L"Check All", L"Uncheck All");
        std::printf("check all over %zu rows, click to painted: %.1f ms (median of 9)\n", rows, checkAll);
        DWORD exitCode = 1;
        program.CloseAndWait(30000, &exitCode);
    }
}

}  // namespace

void Measure(const std::wstring& exe) {
    ForgetSettings();
    Targets targets;
    for (int i = 0; i < 3; ++i) targets.Create(L"Velmora Bench " + std::to_wstring(i), WS_OVERLAPPEDWINDOW);
    PumpFor(1500);

    const auto start = std::chrono::steady_clock::now();
    ProgramUnderTest program(exe);
    std::printf("start-up to the window shown: %.0f ms\n", SecondsSince(start) * 1000);

    program.Click(L"Check All");
    const double cpuBefore = program.CpuSeconds();
    const auto closeStart = std::chrono::steady_clock::now();
    program.Click(L"Close Checked (Ctrl+Shift+C)");
    const double closeWall = SecondsSince(closeStart);
    std::printf("close of 3 windows: %.2f s wall, %.3f s CPU\n", closeWall, program.CpuSeconds() - cpuBefore);
    const double spinBefore = OwnCpuSeconds();
    BusySpin(closeWall);
    std::printf("busy-spin wait of the same length: %.2f s CPU\n", OwnCpuSeconds() - spinBefore);

    PROCESS_MEMORY_COUNTERS memory{};
    GetProcessMemoryInfo(program.Process(), &memory, sizeof memory);
    std::printf("peak working set: %.1f MiB\n", memory.PeakWorkingSetSize / 1048576.0);
    DWORD exitCode = 1;
    program.CloseAndWait(15000, &exitCode);
    MeasureManyRows(exe);
    ForgetSettings();
}
