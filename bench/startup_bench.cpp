// Time from process start to a visible top-level window, for the tool and for a minimal window program.
// Usage: startup_bench RUNS EXE CLASS [EXE CLASS]...
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

double Seconds(LARGE_INTEGER from, LARGE_INTEGER to)
{
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    return double(to.QuadPart - from.QuadPart) / double(frequency.QuadPart);
}

// One start: launch, wait for the window to be shown, close it, wait for the exit. Returns seconds to shown.
double TimeOneStart(const std::wstring& exe, const std::wstring& windowClass)
{
    std::wstring commandLine = L"\"" + exe + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    LARGE_INTEGER start, shown;
    QueryPerformanceCounter(&start);
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        std::fwprintf(stderr, L"cannot start %ls (error %lu)\n", exe.c_str(), GetLastError());
        std::exit(1);
    }
    HWND window = nullptr;
    for (;;) {
        window = FindWindowW(windowClass.c_str(), nullptr);
        if (window && IsWindowVisible(window)) break;
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0) {
            std::fwprintf(stderr, L"%ls ended before showing a window of class %ls\n", exe.c_str(),
                          windowClass.c_str());
            std::exit(1);
        }
        Sleep(0);
    }
    QueryPerformanceCounter(&shown);
    PostMessageW(window, WM_CLOSE, 0, 0);
    WaitForSingleObject(process.hProcess, 30000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return Seconds(start, shown);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc < 4 || argc % 2 != 0) {
        std::fwprintf(stderr, L"usage: startup_bench RUNS EXE CLASS [EXE CLASS]...\n");
        return 2;
    }
    const int runs = _wtoi(argv[1]);
    std::vector<double> medians;
    for (int a = 2; a + 1 < argc; a += 2) {
        std::vector<double> times;
        TimeOneStart(argv[a], argv[a + 1]);  // warm the prefix and the file cache
        for (int r = 0; r < runs; ++r) times.push_back(TimeOneStart(argv[a], argv[a + 1]));
        std::sort(times.begin(), times.end());
        medians.push_back(times[times.size() / 2]);
        std::wprintf(L"%-40ls median %7.1f ms  (min %7.1f, max %7.1f, %d runs)\n", argv[a], medians.back() * 1e3,
                     times.front() * 1e3, times.back() * 1e3, runs);
    }
    for (std::size_t i = 1; i < medians.size(); ++i)
        std::wprintf(L"ratio %ls / %ls: %.2f\n", argv[2], argv[2 + 2 * i], medians[0] / medians[i]);
    return 0;
}
