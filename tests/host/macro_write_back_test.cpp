#include "host/macro_write_back.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <string>

#include "base/fixed_string.h"
#include "fake_hook.h"
#include "faulty_writer.h"
#include "macro_test_util.h"

namespace t30 {
namespace {

// `count` presses from `firstKey`, repeated three times.
MacroRecord Macro(std::u16string_view name, int count, uint8_t firstKey) {
    std::vector<MacroEvent> events;
    for (int i = 0; i < count; ++i) {
        events.push_back({uint8_t(firstKey + i), kActionPress, 10});
    }
    return testing::MacroOf(name, events, 3);
}

std::string FileBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// A recording of the library's second macro, ended by the stop button: the macro, the button slot
// that carries it and the library file all end up with the recorded events.
class RecordIntoLibrary : public ::testing::Test,
                          public TickClock,
                          public KeyUsageMap,
                          public RecorderView {
  protected:
    void SetUp() override {
        std::filesystem::create_directory(dir_ / "config");
        library_.Append(Macro(u"Jump", 2, 0x10));
        library_.Append(Macro(u"Run", 3, 0x20));
        ButtonSlot& slot = store_.edited().profiles[2].buttons[5];
        slot.functionType = 18;
        SetFixed(slot.macroName, u"run");
        slot.eventCount = 3;
    }
    uint32_t NowMs() override { return 0; }
    std::optional<uint8_t> UsageForVirtualKey(uint32_t vk) override { return uint8_t(vk); }
    void RecordingStarted() override {}
    void RecordingEnded() override {}
    void EventsChanged(int) override {}

    testing::TempFolder dir_;
    MacroLibrary library_;
    ProfileStore store_;
    int current_ = 1;
    LibraryWriteBack writeBack_{library_, store_, dir_.path(), [this] { return current_; }};
    FakeHookPort port_;
    KeyboardCapture capture_{port_};
    WorkingMacro working_;
    MacroRecorder recorder_{capture_, *this, *this, *this, writeBack_, working_};
};

TEST_F(RecordIntoLibrary, TheEndOfARecordingReachesLibrarySlotsAndFile) {
    std::copy(library_[1].events, library_[1].events + 3, working_.events.begin());
    working_.count = 3;
    recorder_.start(nullptr, -1);
    recorder_.OnHookKey(0x04, 0);
    recorder_.OnHookKey(0x04, kHookKeyReleased);
    recorder_.stop();

    const MacroRecord& run = library_[1];
    ASSERT_EQ(run.eventCount, 5);
    EXPECT_EQ(run.events[3].key, 0x04);
    EXPECT_EQ(run.events[4].action, kActionRelease);
    EXPECT_EQ(run.repeatCount, 3) << "only events and count are written back";
    EXPECT_EQ(library_[0].eventCount, 2) << "other entries untouched";

    const ButtonSlot& slot = store_.edited().profiles[2].buttons[5];
    EXPECT_EQ(slot.eventCount, 5);
    EXPECT_EQ(std::memcmp(slot.events, run.events, sizeof slot.events), 0);
    EXPECT_EQ(FixedView(slot.macroName), u"Run");

    const std::string file = FileBytes(MacroLibraryPath(dir_.path()));
    ASSERT_EQ(file.size(), 2 * sizeof(MacroRecord));
    EXPECT_EQ(std::memcmp(file.data() + sizeof(MacroRecord), &run, sizeof run), 0);
}

TEST_F(RecordIntoLibrary, WithoutACurrentMacroNothingIsWritten) {
    for (int current : {-1, 2, 99}) {
        SCOPED_TRACE(current);
        current_ = current;
        recorder_.start(nullptr, -1);
        recorder_.OnHookKey(0x04, 0);
        recorder_.stop();
        EXPECT_EQ(library_[0].eventCount, 2);
        EXPECT_EQ(library_[1].eventCount, 3);
        EXPECT_FALSE(std::filesystem::exists(MacroLibraryPath(dir_.path())));
    }
}

}  // namespace
}  // namespace t30
