// The foreground program's executable name among a realistic number of processes, found by the
// direct query and by the process snapshot; both must agree, and their cost is printed.
#include "host/foreground_program_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <tlhelp32.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace t30 {
namespace {

std::wstring HelperPath() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring dir(path, n);
    return dir.substr(0, dir.find_last_of(L"\\/") + 1) + L"host_test_helper.exe";
}

// Helper processes that all end when the object goes, by their stop event or by force.
class Helpers {
  public:
    Helpers() {
        name_ = L"T30HostHelperStop" + std::to_wstring(GetCurrentProcessId());
        stop_ = CreateEventW(nullptr, TRUE, FALSE, name_.c_str());
    }
    ~Helpers() {
        SetEvent(stop_);
        for (const PROCESS_INFORMATION& pi : started_) {
            if (WaitForSingleObject(pi.hProcess, 5000) != WAIT_OBJECT_0) {
                TerminateProcess(pi.hProcess, 1);
            }
            CloseHandle(pi.hThread);
            CloseHandle(pi.hProcess);
        }
        CloseHandle(stop_);
    }
    Helpers(const Helpers&) = delete;
    Helpers& operator=(const Helpers&) = delete;

    DWORD start(const wchar_t* mode) {
        std::wstring command = L"\"" + HelperPath() + L"\" " + mode + L" " + name_;
        STARTUPINFOW si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                            &si, &pi)) {
            return 0;
        }
        started_.push_back(pi);
        return pi.dwProcessId;
    }

  private:
    std::wstring name_;
    HANDLE stop_;
    std::vector<PROCESS_INFORMATION> started_;
};

int ProcessCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    int n = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more;
         more = Process32NextW(snapshot, &entry)) {
        ++n;
    }
    CloseHandle(snapshot);
    return n;
}

template <typename F>
double MedianMicroseconds(int rounds, F&& call) {
    std::vector<double> times;
    for (int i = 0; i < rounds; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        call();
        const auto t1 = std::chrono::steady_clock::now();
        times.push_back(std::chrono::duration<double, std::micro>(t1 - t0).count());
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

TEST(ForegroundProgram, QueryAndSnapshotAgreeAmongManyProcesses) {
    Helpers helpers;
    for (int i = 0; i < 60; ++i) {
        ASSERT_NE(helpers.start(L"idle"), 0u);
    }
    const DWORD windowed = helpers.start(L"window");
    ASSERT_NE(windowed, 0u);
    DWORD foreground = 0;
    for (int i = 0; i < 200 && foreground != windowed; ++i) {
        Sleep(50);
        foreground = ForegroundProcessId();
    }
    ASSERT_EQ(foreground, windowed) << "the helper's window did not come to the foreground";

    const std::optional<std::u16string> byQuery = ImageNameByQuery(foreground);
    const std::optional<std::u16string> bySnapshot = ImageNameBySnapshot(foreground);
    ASSERT_TRUE(byQuery && bySnapshot);
    EXPECT_TRUE(EqualsIgnoringCase(*byQuery, u"host_test_helper.exe"));
    EXPECT_TRUE(EqualsIgnoringCase(*byQuery, *bySnapshot));
    Win32ForegroundProgram program;
    EXPECT_EQ(program.ExecutableName(), byQuery);

    // One switching tick against the real foreground: the profile bound to the helper, by a path
    // in another folder and another case, becomes current.
    struct Activator : ProfileActivator {
        std::vector<int> activated;
        void activateProfile(int index) override { activated.push_back(index); }
    } activator;
    ProfileStore store;
    store.SetCurrentIndex(3);
    ASSERT_TRUE(chooseProgram(store, u"D:\\Elsewhere\\HOST_TEST_HELPER.EXE"));
    store.SetCurrentIndex(0);
    EXPECT_EQ(checkForegroundProgram(store, program, activator), 3);
    EXPECT_EQ(activator.activated, std::vector<int>{3});

    const int processes = ProcessCount();
    EXPECT_GE(processes, 61);
    constexpr int kRounds = 100;
    const double query = MedianMicroseconds(kRounds, [&] { ImageNameByQuery(foreground); });
    const double snapshot = MedianMicroseconds(kRounds, [&] { ImageNameBySnapshot(foreground); });
    const double tick = MedianMicroseconds(kRounds, [&] { program.ExecutableName(); });
    std::printf(
        "foreground program among %d processes, median of %d calls: query %.1f us, "
        "snapshot %.1f us, timer tick %.1f us\n",
        processes, kRounds, query, snapshot, tick);
    RecordProperty("processes", processes);
    RecordProperty("query_us", std::to_string(query));
    RecordProperty("snapshot_us", std::to_string(snapshot));
}

TEST(ForegroundProgram, UnknownProcessesGiveNothing) {
    // Process ids are multiples of 4; an odd one never names a process.
    EXPECT_FALSE(ImageNameByQuery(3));
    EXPECT_FALSE(ImageNameBySnapshot(3));
}

}  // namespace
}  // namespace t30
