// The real worker thread, driven through a DeviceLink whose libraries are fakes.
#include "base/window_messages.h"
#include "device/apply_worker_win32.h"

#include <windows.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <atomic>
#include <mutex>
#include <vector>

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
