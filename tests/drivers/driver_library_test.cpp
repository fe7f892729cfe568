// Binding the driver libraries by path, and the simulated ones against a running vmouse.exe.
#include <windows.h>

#include <tlhelp32.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/window_messages.h"
#include "device/driver_library_win32.h"
#include "drivers/virtual_mouse.h"
#include "vhid/handle_count.h"

namespace t30 {
namespace {

using test::RunResult;
using test::RunVmouse;
using test::WinPath;

// Pumps this thread's messages until `message` arrives for `window`, or a timeout.
bool WaitForMessage(HWND window, UINT message, MSG* out, DWORD timeoutMs = 5000) {
    const DWORD start = GetTickCount();
    while (GetTickCount() - start < timeoutMs) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.hwnd == window && msg.message == message) {
                *out = msg;
                return true;
            }
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
    }
    return false;
}

int ThreadsOfThisProcess() {
    HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 te{};
    te.dwSize = sizeof te;
    int n = 0;
    for (BOOL ok = Thread32First(snap, &te); ok; ok = Thread32Next(snap, &te)) {
        if (te.th32OwnerProcessID == GetCurrentProcessId()) {
            ++n;
        }
    }
    CloseHandle(snap);
    return n;
}

class MessageWindow {
  public:
    MessageWindow() {
        hwnd = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                               nullptr);
    }
    ~MessageWindow() { DestroyWindow(hwnd); }
    HWND hwnd;
};

const uint8_t kRateReport[8] = {0x06, 0x08, 0x02, 0, 0, 0, 0, 0};

class VirtualMouse : public ::testing::Test {
  protected:
    void SetUp() override {
        // Each identity needs its own module, as in the product folder.
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        folder_ = std::wstring(temp) + L"t30-sim-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
        CreateDirectoryW(folder_.c_str(), nullptr);
        for (const wchar_t* name : kLibraryFileNames) {
            ASSERT_TRUE(
                CopyFileW(WinPath(T30_SIM_DRIVER).c_str(), (folder_ + name).c_str(), FALSE));
        }
        server_ = std::make_unique<test::VirtualMouseServer>();
        ASSERT_TRUE(server_->Serving()) << "vmouse serve did not come up";
    }
    void TearDown() override {
        server_.reset();
        for (const wchar_t* name : kLibraryFileNames) {
            DeleteFileW((folder_ + name).c_str());
        }
        RemoveDirectoryW(folder_.c_str());
    }

    std::wstring folder_;
    std::unique_ptr<test::VirtualMouseServer> server_;
    MessageWindow window_;
};

TEST_F(VirtualMouse, PlugSendReadBackAndUnplug) {
    auto lib = LoadDriverLibrary(folder_, LibraryId::kSecond);
    ASSERT_TRUE(lib->Loaded());
    lib->SetVidPid(0x1D57, 0xFA61);
    lib->OpenDevMonitor(reinterpret_cast<uintptr_t>(window_.hwnd), kMsgSecondLibraryEvent,
                        kMsgSecondLibraryStatus);
    EXPECT_FALSE(lib->OpenFeatureDevice()) << "not plugged yet";
    EXPECT_FALSE(lib->SetFeature(kRateReport, sizeof kRateReport));

    ASSERT_EQ(RunVmouse(L"plug 2").exitCode, 0u);
    MSG msg;
    ASSERT_TRUE(WaitForMessage(window_.hwnd, kMsgSecondLibraryStatus, &msg));
    EXPECT_EQ(msg.wParam, 1u);
    EXPECT_TRUE(lib->OpenFeatureDevice());
    EXPECT_TRUE(lib->SetFeature(kRateReport, sizeof kRateReport));
    EXPECT_EQ(RunVmouse(L"reports").output, "2 06 08 02 00 00 00 00 00\n");

    ASSERT_EQ(RunVmouse(L"event 2 0x1000 3").exitCode, 0u);
    ASSERT_TRUE(WaitForMessage(window_.hwnd, kMsgSecondLibraryEvent, &msg));
    EXPECT_EQ(msg.wParam, 0x1000u);
    EXPECT_EQ(msg.lParam, 3);

    ASSERT_EQ(RunVmouse(L"refuse 2 on").exitCode, 0u);
    EXPECT_FALSE(lib->SetFeature(kRateReport, sizeof kRateReport));
    EXPECT_EQ(RunVmouse(L"reports").output, "2 06 08 02 00 00 00 00 00\n")
        << "refused reports are not listed";
    ASSERT_EQ(RunVmouse(L"refuse 2 off").exitCode, 0u);

    ASSERT_EQ(RunVmouse(L"unplug 2").exitCode, 0u);
    ASSERT_TRUE(WaitForMessage(window_.hwnd, kMsgSecondLibraryStatus, &msg));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_FALSE(lib->OpenFeatureDevice());
    EXPECT_EQ(RunVmouse(L"clear").exitCode, 0u);
    EXPECT_EQ(RunVmouse(L"reports").output, "");
    lib->CloseFeatureDevice();
    lib->CloseDevMonitor();
}

TEST_F(VirtualMouse, IdentitiesAreSeparate) {
    auto first = LoadDriverLibrary(folder_, LibraryId::kFirst);
    auto second = LoadDriverLibrary(folder_, LibraryId::kSecond);
    first->SetVidPid(0x1D57, 0xFA60);
    second->SetVidPid(0x1D57, 0xFA61);
    first->OpenDevMonitor(reinterpret_cast<uintptr_t>(window_.hwnd), kMsgFirstLibraryEvent,
                          kMsgFirstLibraryStatus);
    ASSERT_EQ(RunVmouse(L"plug 1").exitCode, 0u);
    MSG msg;
    ASSERT_TRUE(WaitForMessage(window_.hwnd, kMsgFirstLibraryStatus, &msg));
    EXPECT_TRUE(first->OpenFeatureDevice());
    EXPECT_FALSE(second->OpenFeatureDevice());
    EXPECT_TRUE(first->SetFeature(kRateReport, sizeof kRateReport));
    EXPECT_EQ(RunVmouse(L"reports").output, "1 06 08 02 00 00 00 00 00\n");
    first->CloseDevMonitor();
}

TEST(VmouseCommands, FailWithOneLineWhenNoMouseRunsOrArgumentsAreWrong) {
    ASSERT_FALSE(test::VirtualMouseServing());
    for (const wchar_t* args : {L"plug 2", L"reports", L"event 1 0x2000 4", L"quit"}) {
        const RunResult r = RunVmouse(args);
        EXPECT_NE(r.exitCode, 0u) << std::string(args, args + wcslen(args));
        EXPECT_NE(r.output.find("no virtual mouse is running"), std::string::npos) << r.output;
    }
    for (const wchar_t* args : {L"plug 3", L"refuse 2 maybe", L"event 2 x 1", L"bogus"}) {
        EXPECT_EQ(RunVmouse(args).exitCode, 2u) << std::string(args, args + wcslen(args));
    }
}

TEST(SimulatedLibrary, WithoutAServerHasNoDevice) {
    Win32DriverLibrary lib(WinPath(T30_SIM_DRIVER));
    ASSERT_TRUE(lib.Loaded());
    lib.SetVidPid(0x1D57, 0xFA61);
    EXPECT_FALSE(lib.OpenFeatureDevice());
    EXPECT_FALSE(lib.SetFeature(kRateReport, sizeof kRateReport));
}

TEST(DriverBinding, MissingLibraryOrExportMeansNoDevice) {
    for (const std::wstring& path : {std::wstring(L"Z:\\nonexistent\\hiddriver_1.dll"),
                                     std::wstring(L"C:\\windows\\system32\\version.dll")}) {
        Win32DriverLibrary lib(path);
        EXPECT_FALSE(lib.Loaded());
        lib.SetVidPid(0x1D57, 0xFA60);
        lib.OpenDevMonitor(0, 1325, 1326);
        EXPECT_FALSE(lib.OpenFeatureDevice());
        EXPECT_FALSE(lib.SetFeature(kRateReport, sizeof kRateReport));
        lib.CloseFeatureDevice();
        lib.CloseDevMonitor();
    }
}

// Without such a mouse (as under Wine) the real library must report no device, post nothing,
// and leave no thread of its own behind once closed and unloaded. Wine itself starts one
// lasting helper thread the first time a process registers for device notifications, so the
// count is taken over a second load.
TEST(HidLibrary, WithoutTheMouseFindsNothingPostsNothingAndUnloadsCleanly) {
    MessageWindow window;
    int settled = 0;
    for (int round = 0; round < 2; ++round) {
        {
            Win32DriverLibrary lib(WinPath(T30_HID_DRIVER));
            ASSERT_TRUE(lib.Loaded());
            lib.SetVidPid(0x1D57, 0xFA61);
            const int beforeMonitor = ThreadsOfThisProcess();
            lib.OpenDevMonitor(reinterpret_cast<uintptr_t>(window.hwnd), 1327, 1328);
            if (round == 1) {
                EXPECT_EQ(ThreadsOfThisProcess(), beforeMonitor + 1) << "the watcher's thread";
            }
            EXPECT_FALSE(lib.OpenFeatureDevice());
            EXPECT_FALSE(lib.SetFeature(kRateReport, sizeof kRateReport));
            MSG msg;
            EXPECT_FALSE(WaitForMessage(window.hwnd, 1328, &msg, 300));
            lib.CloseFeatureDevice();
            lib.CloseDevMonitor();
        }
        if (round == 0) {
            settled = ThreadsOfThisProcess();
        } else {
            EXPECT_EQ(ThreadsOfThisProcess(), settled) << "no thread left behind";
        }
        EXPECT_EQ(GetModuleHandleW(L"hiddriver_hid.dll"), nullptr) << "library unloaded";
    }
}

// The virtual T-30 of tests/vhid, served by Wine's own HID stack, through its tool.
DWORD RunVhid(const std::wstring& args) {
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + WinPath(T30_VHID_TOOL) + L"\" " + args;
    DWORD exitCode = 0xFFFFFFFF;
    if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &si, &pi)) {
        // A tool stuck in Wine's device installer fails this step instead of the whole run.
        if (WaitForSingleObject(pi.hProcess, 30000) == WAIT_OBJECT_0) {
            GetExitCodeProcess(pi.hProcess, &exitCode);
        } else {
            TerminateProcess(pi.hProcess, 1);
        }
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
    return exitCode;
}

int HandlesOfThisProcess() {
    return HandlesOfProcess(GetCurrentProcessId());
}

// Drains the status messages of the second library until one with `wParam` arrives.
bool WaitForStatus(HWND window, WPARAM wanted) {
    MSG msg;
    while (WaitForMessage(window, kMsgSecondLibraryStatus, &msg, 10000)) {
        if (msg.wParam == wanted) {
            return true;
        }
    }
    return false;
}

class RealHidStack : public ::testing::Test {
  protected:
    // Devices installed in a prefix outlive the programs that installed them.
    void SetUp() override { ASSERT_EQ(RunVhid(L"reset"), 0u); }
    void TearDown() override { RunVhid(L"reset"); }
    MessageWindow window_;
};

// The whole vendor report goes out padded to the collection's length, and GetFeature reads back
// what the virtual mouse keeps; a report longer than the collection is refused.
TEST_F(RealHidStack, PadsRefusesLongReportsAndReadsBack) {
    ASSERT_EQ(RunVhid(L"plug 2 windows"), 0u);
    Win32DriverLibrary lib(WinPath(T30_HID_DRIVER));
    lib.SetVidPid(0x1D57, 0xFA61);
    ASSERT_TRUE(lib.OpenFeatureDevice());
    EXPECT_TRUE(lib.SetFeature(kRateReport, sizeof kRateReport));
    uint8_t tooLong[131] = {0x09};
    EXPECT_FALSE(lib.SetFeature(tooLong, sizeof tooLong));
    auto getFeature = reinterpret_cast<Win32DriverLibrary::GetFeatureFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"hiddriver_hid.dll"), "GetFeature")));
    ASSERT_NE(getFeature, nullptr);
    unsigned char back[130] = {0x06};
    ASSERT_TRUE(getFeature(back, sizeof back));
    EXPECT_EQ(0, memcmp(back, kRateReport, sizeof kRateReport));
    for (size_t i = sizeof kRateReport; i < sizeof back; ++i) {
        ASSERT_EQ(back[i], 0) << "byte " << i << " of the padded report";
    }
    lib.CloseFeatureDevice();
}

// With the mouse present: 200 opens and closes, then 10 removals and arrivals heard by the
// watcher, leave the process with the threads and handles it had. The first open and the first
// arrival are made before counting: Wine starts helpers of its own on first use. Each removal
// and arrival is a driver installation in Wine; ten show a leak per cycle as well as fifty did,
// and fifty once outlived the test's two minutes on a loaded machine.
TEST_F(RealHidStack, OpenCloseAndArrivalRemovalLeaveNothingBehind) {
    Win32DriverLibrary lib(WinPath(T30_HID_DRIVER));
    lib.SetVidPid(0x1D57, 0xFA61);
    lib.OpenDevMonitor(reinterpret_cast<uintptr_t>(window_.hwnd), kMsgSecondLibraryEvent,
                       kMsgSecondLibraryStatus);
    ASSERT_EQ(RunVhid(L"plug 2 merged"), 0u);
    ASSERT_TRUE(WaitForStatus(window_.hwnd, 1)) << "no arrival heard";
    ASSERT_TRUE(lib.OpenFeatureDevice());
    lib.CloseFeatureDevice();
    const int threads = ThreadsOfThisProcess();
    const int handles = HandlesOfThisProcess();
    ASSERT_GT(handles, 0) << "the handle table cannot be read";
    for (int i = 0; i < 200; ++i) {
        ASSERT_TRUE(lib.OpenFeatureDevice()) << "open " << i;
        lib.CloseFeatureDevice();
    }
    EXPECT_EQ(ThreadsOfThisProcess(), threads) << "after 200 opens";
    EXPECT_EQ(HandlesOfThisProcess(), handles) << "after 200 opens";

    for (int i = 0; i < 10; ++i) {
        ASSERT_EQ(RunVhid(L"unplug 2"), 0u);
        ASSERT_TRUE(WaitForStatus(window_.hwnd, 0)) << "removal " << i << " not heard";
        EXPECT_FALSE(lib.OpenFeatureDevice());
        ASSERT_EQ(RunVhid(L"plug 2 merged"), 0u);
        ASSERT_TRUE(WaitForStatus(window_.hwnd, 1)) << "arrival " << i << " not heard";
        ASSERT_TRUE(lib.OpenFeatureDevice()) << "open after arrival " << i;
        lib.CloseFeatureDevice();
    }
    EXPECT_EQ(ThreadsOfThisProcess(), threads) << "after 10 removals and arrivals";
    EXPECT_EQ(HandlesOfThisProcess(), handles) << "after 10 removals and arrivals";
    lib.CloseDevMonitor();
}

}  // namespace
}  // namespace t30
