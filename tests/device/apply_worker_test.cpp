// The real worker thread, driven through a DeviceLink whose libraries are fakes.
#include "base/window_messages.h"
#include "device/apply_worker_win32.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

#include "base/unique_handle_win32.h"
#include "device/device_link.h"
#include "fake_sink.h"
#include "profile/profile_store.h"

namespace t30 {
namespace {

using ::testing::ElementsAre;

// A driver library that takes reports slowly, so a quit can arrive while passes are pending.
class SlowLibrary : public DriverLibrary {
  public:
    explicit SlowLibrary(int tag) : tag_(tag) {}
    bool Loaded() const override { return true; }
    void SetVidPid(int32_t, int32_t) override {}
    void OpenDevMonitor(uintptr_t, int32_t, int32_t) override {}
    bool OpenFeatureDevice() override { return true; }
    bool SetFeature(const uint8_t* data, std::size_t size) override {
        if (gate != nullptr) {
            WaitForSingleObject(gate, INFINITE);
        }
        Sleep(20);
        std::lock_guard<std::mutex> lock(mutex);
        received.push_back({tag_, std::vector<uint8_t>(data, data + size)});
        threads.push_back(GetCurrentThreadId());
        return true;
    }
    void CloseFeatureDevice() override {}
    void CloseDevMonitor() override {}

    struct Report {
        int library;
        std::vector<uint8_t> bytes;
    };
    static inline std::mutex mutex;
    static inline std::vector<Report> received;
    static inline std::vector<DWORD> threads;
    static inline HANDLE gate = nullptr;  // when set, reports wait until it is signalled

  private:
    int tag_;
};

class ApplyWorkerTest : public ::testing::Test {
  protected:
    void SetUp() override {
        SlowLibrary::received.clear();
        SlowLibrary::threads.clear();
        link.Bind(LibraryId::kFirst, std::make_unique<SlowLibrary>(1));
        link.Bind(LibraryId::kSecond, std::make_unique<SlowLibrary>(2));
        window = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                 nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override { DestroyWindow(window); }

    std::unique_ptr<SendPass> Pass(DirtyFlags flags, int32_t rate = 2) {
        auto pass = std::make_unique<SendPass>();
        pass->profile = ProfileStore().current();
        pass->profile.reportRate = rate;
        pass->flags = flags;
        return pass;
    }
    int DoneMessages() {
        int n = 0;
        MSG msg;
        while (PeekMessageW(&msg, window, kMsgSendPassDone, kMsgSendPassDone, PM_REMOVE)) {
            ++n;
        }
        return n;
    }

    DeviceLink link;
    test::RecordingSleeper sleeper;
    HWND window = nullptr;
};

TEST_F(ApplyWorkerTest, QuitWaitsForPendingPassesWhichGoOutInOrder) {
    link.SetState(LibraryId::kSecond, Connection::kConnected);
    ApplyWorker worker(link, sleeper);
    ASSERT_TRUE(worker.Start(window));
    worker.Post(Pass(DirtyFlags::All(), 0));
    worker.Post(Pass({false, false, true, false}, 3));
    worker.Stop();  // immediately, with both passes still queued

    std::vector<uint8_t> ids;
    for (const auto& r : SlowLibrary::received) {
        ids.push_back(r.bytes[0]);
        EXPECT_EQ(r.library, 2) << "the second library's device is connected";
    }
    EXPECT_THAT(ids, ElementsAre(0x04, 0x05, 0x06, 0x08, 0x06));
    ASSERT_EQ(SlowLibrary::received.size(), 5u);
    EXPECT_EQ(SlowLibrary::received[2].bytes[2], 8) << "first pass: rate 0";
    EXPECT_EQ(SlowLibrary::received[4].bytes[2], 1) << "second pass: its own rate 3";
    EXPECT_EQ(sleeper.sleeps.size(), 5u);
    EXPECT_NE(SlowLibrary::threads[0], GetCurrentThreadId());
    EXPECT_EQ(DoneMessages(), 2) << "one 1258 per pass";
}

TEST_F(ApplyWorkerTest, WithoutTheSecondDeviceReportsGoThroughTheFirstLibrary) {
    link.SetState(LibraryId::kSecond, Connection::kRemoved);
    link.SetState(LibraryId::kFirst, Connection::kConnected);
    ApplyWorker worker(link, sleeper);
    ASSERT_TRUE(worker.Start(window));
    worker.Post(Pass({false, true, false, false}));
    worker.Stop();
    ASSERT_EQ(SlowLibrary::received.size(), 1u);
    EXPECT_EQ(SlowLibrary::received[0].library, 1);
    EXPECT_EQ(DoneMessages(), 1);
}

// The thread lives only while there is something to send: none before the first pass, none once
// the last has gone out, and a later pass starts a new one.
TEST_F(ApplyWorkerTest, ThreadRunsOnlyWhilePassesArePending) {
    link.SetState(LibraryId::kFirst, Connection::kConnected);
    const KernelHandle gate(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    SlowLibrary::gate = gate.Get();
    ApplyWorker worker(link, sleeper);
    ASSERT_TRUE(worker.Start(window));
    EXPECT_FALSE(worker.Running()) << "no thread before the first pass";
    int done = 0;
    for (int burst = 0; burst < 3; ++burst) {
        ResetEvent(gate.Get());
        worker.Post(Pass({false, true, false, false}));
        worker.Post(Pass({false, true, false, false}));
        EXPECT_TRUE(worker.Running()) << "sending, burst " << burst;
        SetEvent(gate.Get());
        for (int i = 0; i < 500 && worker.Running(); ++i) {
            Sleep(10);
        }
        EXPECT_FALSE(worker.Running()) << "the thread ends with its last pass, burst " << burst;
        done += DoneMessages();
    }
    worker.Stop();
    SlowLibrary::gate = nullptr;
    EXPECT_EQ(done, 6) << "every pass of every burst went out";
    EXPECT_EQ(SlowLibrary::received.size(), 6u);
}

TEST_F(ApplyWorkerTest, StopWithoutWorkAndTwiceIsHarmless) {
    ApplyWorker worker(link, sleeper);
    ASSERT_TRUE(worker.Start(window));
    worker.Stop();
    worker.Stop();
    EXPECT_FALSE(worker.Running());
    EXPECT_EQ(DoneMessages(), 0);
}

}  // namespace
}  // namespace t30
