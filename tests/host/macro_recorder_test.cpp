#include "host/macro_recorder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "fake_hook.h"
#include "host/key_usage_adapter.h"

namespace t30 {
namespace {

constexpr uint32_t kPress = 0;
constexpr uint32_t kRelease = kHookKeyReleased;
constexpr uint32_t kVkA = 'A', kVkB = 'B', kVkC = 'C', kVkUnknown = 0x29;
constexpr uint32_t kVkEnter = 0x0D;

// A recorder wired to fakes: a settable clock, letters as the only known keys, a page that
// counts, a library that keeps what is written back.
class Recorder : public ::testing::Test,
                 public TickClock,
                 public KeyUsageMap,
                 public RecorderView,
                 public MacroWriteBack {
  protected:
    uint32_t NowMs() override { return now_; }
    std::optional<uint8_t> UsageForVirtualKey(uint32_t vk) override {
        if (vk >= 'A' && vk <= 'Z') {
            return uint8_t(0x04 + (vk - 'A'));
        }
        return std::nullopt;
    }
    void RecordingStarted() override { ++started_; }
    void RecordingEnded() override { ++ended_; }
    void EventsChanged(int focus) override { focus_ = focus; }
    void SaveBack(const WorkingMacro& working) override { saved_.push_back(working); }

    // Macro of `n` events with recognisable keys 0x50.. and delays 100..
    void Prefill(int n) {
        for (int i = 0; i < n; ++i) {
            working_.events[i] = {uint8_t(0x50 + i), kActionPress, uint16_t(100 + i)};
        }
        working_.count = n;
    }
    // Sends one key after `pause` milliseconds.
    int Key(uint32_t vk, uint32_t flags, uint32_t pause = 0) {
        now_ += pause;
        return recorder_.OnHookKey(vk, flags);
    }
    void Tap(uint32_t vk, uint32_t pause = 0) {
        Key(vk, kPress, pause);
        Key(vk, kRelease, pause);
    }

    FakeHookPort port_;
    KeyboardCapture capture_{port_};
    WorkingMacro working_;
    MacroRecorder recorder_{capture_, *this, *this, *this, *this, working_};
    uint32_t now_ = 1000;
    int started_ = 0, ended_ = 0, focus_ = -99;
    std::vector<WorkingMacro> saved_;
    WindowRef page_ = reinterpret_cast<WindowRef>(uintptr_t(0x10));
};

void ExpectEvents(const WorkingMacro& m, const std::vector<MacroEvent>& expected) {
    ASSERT_EQ(m.count, int(expected.size()));
    for (std::size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(m.events[i].key, expected[i].key);
        EXPECT_EQ(m.events[i].action, expected[i].action);
        EXPECT_EQ(m.events[i].delayAfter, expected[i].delayAfter);
    }
}

TEST_F(Recorder, WithoutDelaysEveryPauseIsZero) {
    recorder_.start(page_, -1);
    EXPECT_TRUE(recorder_.recording());
    EXPECT_EQ(port_.installed, 1);
    EXPECT_EQ(port_.target, page_);
    Tap(kVkA, 300);
    Tap(kVkB, 300);
    ExpectEvents(working_, {{0x04, 1, 0}, {0x04, 2, 0}, {0x05, 1, 0}, {0x05, 2, 0}});
    EXPECT_EQ(focus_, 3);
    EXPECT_TRUE(recorder_.keySeen());

    recorder_.stop();
    EXPECT_FALSE(recorder_.recording());
    EXPECT_EQ(port_.installed, 0);
    EXPECT_EQ(ended_, 1);
    ASSERT_EQ(saved_.size(), 1u);
    ExpectEvents(saved_[0], {{0x04, 1, 0}, {0x04, 2, 0}, {0x05, 1, 0}, {0x05, 2, 0}});
}

TEST_F(Recorder, DelaysMeasureThePauseAndTheLastKeepsThePlaceholder) {
    recorder_.SetRecordDelays(true);
    recorder_.start(page_, -1);
    Key(kVkA, kPress, 5000);  // the wait before the first key is not recorded
    Key(kVkA, kRelease, 300);
    Key(kVkB, kPress, 310);
    Key(kVkB, kRelease, 290);
    ExpectEvents(working_, {{0x04, 1, 300}, {0x04, 2, 310}, {0x05, 1, 290}, {0x05, 2, 2}});
}

TEST_F(Recorder, LongPausesAreCappedAndTheTickCountMayWrap) {
    recorder_.SetRecordDelays(true);
    now_ = 0xFFFFFF00u;
    recorder_.start(page_, -1);
    Key(kVkA, kPress);
    Key(kVkA, kRelease, 0x200);  // across the wrap: 512 ms
    Key(kVkB, kPress, 70000);
    Key(kVkB, kRelease, 65535);
    ExpectEvents(working_, {{0x04, 1, 512}, {0x04, 2, 65535}, {0x05, 1, 65535}, {0x05, 2, 2}});
}

TEST_F(Recorder, AutoRepeatIsDroppedAndUnknownKeysRecordZero) {
    recorder_.start(page_, -1);
    EXPECT_EQ(Key(kVkA, kPress), 1);
    for (int i = 0; i < 60; ++i) {  // two seconds of auto-repeat
        EXPECT_EQ(Key(kVkA, kPress, 33), 0);
    }
    EXPECT_EQ(Key(kVkA, kRelease), 1);
    EXPECT_EQ(Key(kVkUnknown, kPress), 1);
    // Press, release, press of the same key are three events: only equal neighbours repeat.
    EXPECT_EQ(Key(kVkUnknown, kRelease), 1);
    EXPECT_EQ(Key(kVkUnknown, kPress), 1);
    ExpectEvents(working_, {{0x04, 1, 0}, {0x04, 2, 0}, {0, 1, 0}, {0, 2, 0}, {0, 1, 0}});
}

// The key that started the recording (Enter on the menu's "record before") is let go inside
// it; a key held from before is let go after its own press was recorded again.
TEST_F(Recorder, ReleasesOfKeysPressedBeforeTheStartAreNoSteps) {
    recorder_.start(page_, -1);
    EXPECT_EQ(Key(kVkEnter, kRelease), 0);
    EXPECT_FALSE(recorder_.keySeen());
    Tap(kVkA);
    EXPECT_EQ(Key(kVkB, kRelease), 0);
    EXPECT_EQ(Key(kVkB, kPress), 1);
    EXPECT_EQ(Key(kVkB, kRelease), 1);
    ExpectEvents(working_, {{0x04, 1, 0}, {0x04, 2, 0}, {0x05, 1, 0}, {0x05, 2, 0}});
    recorder_.stop();
    // A new recording knows nothing of the keys pressed in the last one.
    recorder_.start(page_, -1);
    Key(kVkC, kPress);
    recorder_.stop();
    recorder_.start(page_, -1);
    EXPECT_EQ(Key(kVkC, kRelease), 0);
}

TEST_F(Recorder, InsertsAtThePointAndMovesTheRest) {
    Prefill(10);
    recorder_.SetRecordDelays(true);
    recorder_.start(page_, 2);  // before the third event
    Key(kVkA, kPress, 1000);
    Key(kVkB, kPress, 300);
    Key(kVkC, kPress, 400);
    EXPECT_EQ(recorder_.insertAt(), 5);
    EXPECT_EQ(focus_, 4);
    std::vector<MacroEvent> expected = {
        {0x50, 1, 100}, {0x51, 1, 101}, {0x04, 1, 300}, {0x05, 1, 400}, {0x06, 1, 2}};
    for (int i = 2; i < 10; ++i) {
        expected.push_back({uint8_t(0x50 + i), kActionPress, uint16_t(100 + i)});
    }
    ExpectEvents(working_, expected);
}

TEST_F(Recorder, InsertionPointsOutsideTheMacroAppend) {
    Prefill(3);
    recorder_.start(page_, 7);
    EXPECT_EQ(recorder_.insertAt(), -1);
    Key(kVkA, kPress);
    EXPECT_EQ(working_.count, 4);
    EXPECT_EQ(working_.events[3].key, 0x04);
    recorder_.stop();

    // Recording before the first event never touches an event before it.
    recorder_.SetRecordDelays(true);
    recorder_.start(page_, 0);
    Key(kVkB, kPress, 50);
    Key(kVkB, kRelease, 70);
    EXPECT_EQ(working_.events[0].key, 0x05);
    EXPECT_EQ(working_.events[0].delayAfter, 70);
    EXPECT_EQ(working_.events[1].delayAfter, 2);
    EXPECT_EQ(working_.events[2].key, 0x50);
    EXPECT_EQ(working_.events[2].delayAfter, 100);
}

TEST_F(Recorder, TheFortiethEventEndsTheRecordingAndSaves) {
    Prefill(37);
    recorder_.start(page_, -1);
    Tap(kVkA);
    EXPECT_TRUE(recorder_.recording());
    Key(kVkB, kPress);
    EXPECT_FALSE(recorder_.recording());
    EXPECT_EQ(working_.count, 40);
    EXPECT_EQ(port_.installed, 0);
    EXPECT_EQ(ended_, 1);
    ASSERT_EQ(saved_.size(), 1u);
    EXPECT_EQ(saved_[0].count, 40);
    EXPECT_EQ(saved_[0].events[39].key, 0x05);

    // The release of B was still in the queue: it belongs to no recording.
    EXPECT_EQ(Key(kVkB, kRelease), 0);
    EXPECT_EQ(working_.count, 40);
    EXPECT_EQ(saved_.size(), 1u);
    EXPECT_EQ(std::count(port_.log.begin(), port_.log.end(), "remove"), 1);
}

TEST_F(Recorder, AFullMacroTakesNoKeyAndEndsUnchanged) {
    Prefill(40);
    recorder_.SetRecordDelays(true);
    recorder_.start(page_, -1);
    Key(kVkA, kPress, 500);
    EXPECT_FALSE(recorder_.recording());
    ASSERT_EQ(saved_.size(), 1u);
    std::vector<MacroEvent> expected;
    for (int i = 0; i < 40; ++i) {
        expected.push_back({uint8_t(0x50 + i), kActionPress, uint16_t(100 + i)});
    }
    ExpectEvents(saved_[0], expected);
}

TEST_F(Recorder, ANewRecordingStartsFresh) {
    recorder_.start(page_, -1);
    Key(kVkA, kPress);  // stop pressed while A is still down
    recorder_.stop();
    recorder_.start(page_, -1);
    EXPECT_FALSE(recorder_.keySeen());
    EXPECT_EQ(Key(kVkA, kPress), 1) << "the first press of a new recording is no auto-repeat";
    EXPECT_EQ(working_.count, 2);
    EXPECT_EQ(started_, 2);
}

TEST_F(Recorder, ADamagedCountIsKeptWithinTheMacro) {
    working_.count = -5;
    recorder_.start(page_, -1);
    Key(kVkA, kPress);
    ExpectEvents(working_, {{0x04, 1, 0}});
    recorder_.stop();
    working_.count = 900;
    recorder_.start(page_, -1);
    Key(kVkB, kPress);
    EXPECT_EQ(working_.count, 40);
    EXPECT_FALSE(recorder_.recording());
}

TEST_F(Recorder, StartingTwiceKeepsOneHookAndTheFirstInsertionPoint) {
    Prefill(4);
    recorder_.start(page_, 1);
    recorder_.start(page_, 3);
    EXPECT_EQ(recorder_.insertAt(), 1);
    EXPECT_EQ(port_.maxInstalled, 1);
    EXPECT_EQ(started_, 1);
}

TEST_F(Recorder, StopWithoutARecordingSavesAndLeavesTheHookAlone) {
    struct Dialog : CaptureClient {
        void CaptureTaken() override {}
    } dialog;
    capture_.acquire(dialog, nullptr);
    recorder_.stop();
    EXPECT_EQ(saved_.size(), 1u);
    EXPECT_EQ(port_.installed, 1) << "someone else's hook";
    capture_.release(dialog);
}

// The shortcut dialog opening during a recording: the recording ends (and is saved) before the
// dialog's hook goes in; when the dialog closes no hook is left, and the stop button pressed
// afterwards takes nothing away from anybody.
TEST_F(Recorder, TheShortcutDialogEndsARunningRecordingFirst) {
    struct Dialog : CaptureClient {
        int taken = 0;
        void CaptureTaken() override { ++taken; }
    } dialog;
    recorder_.start(page_, -1);
    Tap(kVkA);
    const WindowRef dialogWindow = reinterpret_cast<WindowRef>(uintptr_t(0x20));
    capture_.acquire(dialog, dialogWindow);
    EXPECT_FALSE(recorder_.recording());
    EXPECT_EQ(ended_, 1);
    ASSERT_EQ(saved_.size(), 1u);
    EXPECT_EQ(saved_[0].count, 2);
    EXPECT_EQ(port_.target, dialogWindow);
    EXPECT_EQ(port_.maxInstalled, 1);

    // Keys meant for the dialog never reach the ended recording.
    EXPECT_EQ(Key(kVkB, kPress), 0);
    capture_.release(dialog);
    EXPECT_EQ(port_.installed, 0);
    recorder_.stop();
    EXPECT_EQ(port_.installed, 0);
    EXPECT_EQ(dialog.taken, 0);
    EXPECT_EQ(port_.log, (std::vector<std::string>{"install", "remove", "install", "remove"}));
}

TEST_F(Recorder, AFailedInstallStillCountsAsRecordingUntilStopped) {
    port_.failInstall = true;
    recorder_.start(page_, -1);
    EXPECT_TRUE(recorder_.recording());
    recorder_.stop();
    EXPECT_FALSE(recorder_.recording());
    EXPECT_FALSE(capture_.held());
}

}  // namespace
}  // namespace t30

namespace t30 {
namespace {

// The recorder's lookup through the real key table on a US layout.
TEST(KeyTableUsageMap, AnswersFromTheKeyTable) {
    KeyTableUsageMap keys(UsKeyboardLayout());
    struct Case {
        uint32_t vk;
        std::optional<uint8_t> usage;
    };
    const Case cases[] = {{'A', 0x04},          {'1', 0x1E},          {0xA0, 0xE1},
                          {0x10, std::nullopt}, {0x29, std::nullopt}, {0x141, std::nullopt}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.vk);
        EXPECT_EQ(keys.UsageForVirtualKey(c.vk), c.usage);
    }
}

}  // namespace
}  // namespace t30
