// The Windows side of scripts/bench, run under Wine beside the program or the baseline.
//   bench_probe switch-check COUNT  times COUNT calls of the switching timer's check, one by one,
//                                   against whatever window is in the foreground
//   bench_probe memory IMAGE        memory counters of the running process IMAGE (Wine 8 gives 0
//                                   private bytes for another process: scripts/bench reads /proc)
//   bench_probe close TITLE         posts WM_CLOSE to the top-level window TITLE
// Figures go to standard output as "name=value" lines; failures exit non-zero with a message.
#include <windows.h>

#include <psapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "host/foreground_program_win32.h"
#include "host/program_switch.h"
#include "profile/profile_store.h"

namespace {

std::string Narrow(std::u16string_view text) {
    std::string out;
    for (char16_t c : text) {
        out.push_back(c < 0x80 ? char(c) : '?');
    }
    return out;
}

class NoSwitch final : public t30::ProfileActivator {
  public:
    void activateProfile(int) override { ++switches; }
    int switches = 0;
};

double Microseconds(LONGLONG ticks) {
    static const double perSecond = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return double(f.QuadPart);
    }();
    return double(ticks) * 1e6 / perSecond;
}

LONGLONG Now() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return t.QuadPart;
}

// Median, 10th and 90th percentile of `count` calls of `call`, each timed on its own.
template <class Call>
void TimeCalls(const char* name, int count, Call call) {
    std::vector<double> us;
    us.reserve(count);
    for (int i = 0; i < count; ++i) {
        const LONGLONG start = Now();
        call();
        us.push_back(Microseconds(Now() - start));
    }
    std::sort(us.begin(), us.end());
    std::printf("%s_median_us=%.2f\n%s_p10_us=%.2f\n%s_p90_us=%.2f\n", name, us[us.size() / 2],
                name, us[us.size() / 10], name, us[us.size() * 9 / 10]);
}

int SwitchCheck(int count) {
    // Every profile bound to a program, none of them the one in the foreground: the most work a
    // tick does without switching.
    t30::ProfileStore store;
    const char16_t* paths[] = {u"C:\\Games\\Alpha\\alpha.exe", u"C:\\Games\\Beta\\beta.exe",
                               u"D:\\Tools\\gamma.exe", u"  C:\\delta.exe  ",
                               u"C:\\Program Files\\Epsilon\\epsilon.exe"};
    for (int i = 0; i < 5; ++i) {
        store.SetCurrentIndex(i);
        t30::chooseProgram(store, paths[i]);
    }
    store.SetCurrentIndex(0);

    t30::Win32ForegroundProgram foreground;
    const std::optional<std::u16string> name = foreground.ExecutableName();
    std::printf("foreground=%s\n", name ? Narrow(*name).c_str() : "(none)");
    if (!name) {
        std::fprintf(stderr, "bench_probe: no foreground program to look up\n");
        return 1;
    }
    NoSwitch activator;
    for (int i = 0; i < 50; ++i) {  // warm up
        t30::checkForegroundProgram(store, foreground, activator);
    }
    TimeCalls("switch_check", count,
              [&] { t30::checkForegroundProgram(store, foreground, activator); });
    // The two ways of finding the name, for comparison: the check uses the first and falls back
    // to the second.
    const DWORD pid = t30::ForegroundProcessId();
    TimeCalls("query_name", count, [&] { t30::ImageNameByQuery(pid); });
    TimeCalls("snapshot_name", count / 10 + 1, [&] { t30::ImageNameBySnapshot(pid); });
    std::printf("switches=%d\n", activator.switches);
    return activator.switches == 0 ? 0 : 1;
}

int Memory(const wchar_t* image) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "bench_probe: no process snapshot\n");
        return 1;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    DWORD pid = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        if (_wcsicmp(entry.szExeFile, image) == 0) {
            pid = entry.th32ProcessID;
            break;
        }
    }
    CloseHandle(snapshot);
    if (pid == 0) {
        std::fprintf(stderr, "bench_probe: %ls is not running\n", image);
        return 1;
    }
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, pid);
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    const BOOL ok =
        process != nullptr &&
        GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                             sizeof counters);
    if (process) {
        CloseHandle(process);
    }
    if (!ok) {
        std::fprintf(stderr, "bench_probe: no memory counters for %ls\n", image);
        return 1;
    }
    std::printf("private_bytes=%llu\nworking_set=%llu\npeak_working_set=%llu\n",
                static_cast<unsigned long long>(counters.PrivateUsage),
                static_cast<unsigned long long>(counters.WorkingSetSize),
                static_cast<unsigned long long>(counters.PeakWorkingSetSize));
    return 0;
}

HWND FindTopLevel(const wchar_t* title) {
    HWND window = FindWindowW(nullptr, title);
    if (!window) {
        std::fprintf(stderr, "bench_probe: no window titled %ls\n", title);
    }
    return window;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const std::wstring command = argc > 1 ? argv[1] : L"";
    if (argc == 3 && command == L"switch-check") {
        const int count = _wtoi(argv[2]);
        return SwitchCheck(count > 10 ? count : 10);
    }
    if (argc == 3 && command == L"memory") {
        return Memory(argv[2]);
    }
    if (argc == 3 && command == L"close") {
        HWND window = FindTopLevel(argv[2]);
        return window && PostMessageW(window, WM_CLOSE, 0, 0) ? 0 : 1;
    }
    std::fprintf(stderr, "usage: bench_probe switch-check COUNT | memory IMAGE | close TITLE\n");
    return 2;
}
