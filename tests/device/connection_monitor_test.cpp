#include "device/connection_monitor.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace t30 {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

std::vector<std::string>* gLog = nullptr;

class LoggingLibrary : public DriverLibrary {
  public:
    LoggingLibrary(std::string tag, bool present) : tag_(std::move(tag)), present_(present) {}
    bool Loaded() const override { return true; }
    void SetVidPid(int32_t v, int32_t p) override {
        Log("vidpid " + std::to_string(v) + " " + std::to_string(p));
    }
    void OpenDevMonitor(uintptr_t w, int32_t ev, int32_t st) override {
        Log("monitor " + std::to_string(w) + " " + std::to_string(ev) + " " + std::to_string(st));
    }
    bool OpenFeatureDevice() override {
        Log("open");
        return present_;
    }
    bool SetFeature(const uint8_t*, std::size_t) override { return present_; }
    void CloseFeatureDevice() override { Log("close"); }
    void CloseDevMonitor() override { Log("unmonitor"); }

  private:
    void Log(const std::string& s) { gLog->push_back(tag_ + ": " + s); }
    std::string tag_;
    bool present_;
};

class LoggingHost : public ConnectionHost {
  public:
    void WaitMs(unsigned ms) override { gLog->push_back("wait " + std::to_string(ms)); }
    void AddTrayIcon() override { gLog->push_back("icon+"); }
    void DeleteTrayIcon() override { gLog->push_back("icon-"); }
    void StartSwitchTimer() override { gLog->push_back("timer500+"); }
    void StopSwitchTimer() override { gLog->push_back("timer500-"); }
    void StartNoMouseTimer() override { gLog->push_back("timer1"); }
    void HideMainWindow() override { gLog->push_back("hide"); }
    void ShowDpiStage(int s) override { gLog->push_back("stage " + std::to_string(s)); }
    void ShowReportRate(int r) override { gLog->push_back("rate " + std::to_string(r)); }
    void SaveSettings(const ProfileBlock&) override { gLog->push_back("save"); }
};

class NullApplyHost : public ApplyHost {
    void BeginBusy() override {}
    void EndBusy() override {}
    bool DeviceConnected() const override { return true; }
    void ApplyPointerSettings(const ProfileBlock&, const ProfileBlock&) override {}
    void PostSendPass(std::unique_ptr<SendPass>) override {}
    void SaveSettings(const ProfileBlock&) override {}
};

class Monitor : public ::testing::Test {
  protected:
    Monitor() { gLog = &log; }
    ~Monitor() override { gLog = nullptr; }

    void Bind(bool firstPresent, bool secondPresent) {
        link.Bind(LibraryId::kFirst, std::make_unique<LoggingLibrary>("1", firstPresent));
        link.Bind(LibraryId::kSecond, std::make_unique<LoggingLibrary>("2", secondPresent));
    }
    // Starts, then forgets what start-up did so each case sees only its own steps.
    void StartWith(bool firstPresent, bool secondPresent) {
        Bind(firstPresent, secondPresent);
        monitor.Start(7);
        log.clear();
    }

    std::vector<std::string> log;
    DeviceLink link;
    ProfileStore store;
    NullApplyHost applyHost;
    ApplyPipeline pipeline{store, applyHost};
    LoggingHost host;
    ConnectionMonitor monitor{link, store, pipeline, host};
};

TEST_F(Monitor, StartOpensSecondLibraryThenFirst) {
    Bind(false, true);
    monitor.Start(7);
    EXPECT_THAT(
        log, ElementsAre("2: vidpid 7511 64097", "2: monitor 7 1327 1328", "2: open", "timer500+",
                         "1: vidpid 7511 64096", "1: monitor 7 1325 1326", "1: open"));
    EXPECT_EQ(link.state(LibraryId::kSecond), Connection::kConnected);
    EXPECT_EQ(link.state(LibraryId::kFirst), Connection::kUnknown);
}

TEST_F(Monitor, StartWithoutMouseArmsTheWarningTimer) {
    Bind(false, false);
    monitor.Start(7);
    EXPECT_EQ(log.back(), "timer1");
    EXPECT_FALSE(link.AnyConnected());
}

TEST_F(Monitor, UnplugAndReplugTheOnlyMouse) {
    StartWith(true, false);
    pipeline.applyProfiles();  // uses up the start-up full apply
    ASSERT_FALSE(pipeline.FullApplyPending());

    monitor.OnMessage(1326, 0, 0);
    EXPECT_THAT(log, ElementsAre("1: close", "icon-", "timer500-", "hide"));
    EXPECT_EQ(link.state(LibraryId::kFirst), Connection::kRemoved);

    log.clear();
    monitor.OnMessage(1326, 1, 0);
    EXPECT_THAT(log, ElementsAre("wait 1000", "1: open", "icon+", "timer500+"));
    EXPECT_EQ(link.state(LibraryId::kFirst), Connection::kConnected);
    EXPECT_TRUE(pipeline.FullApplyPending());
}

TEST_F(Monitor, WithBothConnectedLosingOneKeepsIconTimerAndWindow) {
    StartWith(true, true);
    monitor.OnMessage(1328, 0, 0);
    EXPECT_THAT(log, ElementsAre("2: close"));
    EXPECT_TRUE(link.AnyConnected());
    log.clear();
    monitor.OnMessage(1328, 1, 0);
    EXPECT_THAT(log, ElementsAre("wait 1000", "2: open")) << "the first still holds the icon";
}

TEST_F(Monitor, RepeatedAndUnknownStatusesChangeNothing) {
    StartWith(true, false);
    monitor.OnMessage(1326, 1, 0);  // already connected: no wait either
    monitor.OnMessage(1326, 2, 0);
    monitor.OnMessage(1326, static_cast<uintptr_t>(-1), 0);
    EXPECT_THAT(log, IsEmpty());
    monitor.OnMessage(1326, 0, 0);
    log.clear();
    monitor.OnMessage(1326, 0, 0);
    EXPECT_THAT(log, IsEmpty());
}

TEST_F(Monitor, RemovalBeforeAnyArrivalStillClosesTheDevice) {
    StartWith(false, false);
    monitor.OnMessage(1328, 0, 0);
    EXPECT_THAT(log, ElementsAre("2: close", "icon-", "timer500-", "hide"));
    EXPECT_EQ(link.state(LibraryId::kSecond), Connection::kRemoved);
}

TEST_F(Monitor, MouseEventsWriteTheCurrentProfileAndSaveWithoutApplying) {
    struct Case {
        uintptr_t eventClass;
        intptr_t value;
        int stage, rate;  // expected afterwards
        std::vector<std::string> steps;
    };
    const Case cases[] = {
        {0x1000, 3, 2, 2, {"stage 2", "save"}},
        {0x1000, 1, 0, 2, {"stage 0", "save"}},
        {0x1000, 5, 4, 2, {"stage 4", "save"}},
        {0x1000, 0x70003, 2, 2, {"stage 2", "save"}},  // only the low 16 bits are the value
        {0x1000, 7, 1, 2, {}},
        {0x1000, 0, 1, 2, {}},
        {0x2000, 4, 1, 3, {"rate 3", "save"}},
        {0x2000, 1, 1, 0, {"rate 0", "save"}},
        {0x2000, 5, 1, 2, {}},
        {0x3000, 2, 1, 2, {}},
    };
    for (const Case& c : cases) {
        ProfileStore fresh;
        store.edited() = fresh.edited();
        store.applied() = fresh.applied();
        store.SetCurrentIndex(3);
        log.clear();
        monitor.OnMessage(1327, c.eventClass, c.value);
        EXPECT_EQ(store.current().dpiStage, c.stage) << c.eventClass << " " << c.value;
        EXPECT_EQ(store.current().reportRate, c.rate) << c.eventClass << " " << c.value;
        EXPECT_EQ(log, c.steps) << c.eventClass << " " << c.value;
        EXPECT_EQ(store.applied().profiles[3].dpiStage, 1) << "applied block untouched";
    }
}

TEST_F(Monitor, StopClosesSecondThenFirst) {
    StartWith(true, true);
    monitor.Stop();
    EXPECT_THAT(log, ElementsAre("2: close", "2: unmonitor", "1: close", "1: unmonitor"));
}

TEST(MonitorMessages, OthersAreNotOurs) {
    DeviceLink link;
    ProfileStore store;
    NullApplyHost applyHost;
    ApplyPipeline pipeline{store, applyHost};
    LoggingHost host;
    ConnectionMonitor monitor{link, store, pipeline, host};
    EXPECT_FALSE(monitor.OnMessage(1324, 1, 0));
    EXPECT_FALSE(monitor.OnMessage(1329, 1, 0));
}

}  // namespace
}  // namespace t30
