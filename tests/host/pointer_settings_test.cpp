#include "host/pointer_settings.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "profile/profile_store.h"

namespace t30 {
namespace {

TEST(PointerMapping, DoubleClickIndexAndTime) {
    struct Case {
        int32_t ms;
        int32_t index;
    };
    // Truncation toward zero: 1000 gives -1, 100 gives 11; both are carried as they are.
    const Case fromTime[] = {
        {500, 5}, {900, 0}, {200, 10}, {1000, -1}, {100, 11},
        {899, 0}, {831, 0}, {830, 1},  {0, 12},    {-2147483647 - 1, 30678350}};
    for (const Case& c : fromTime) {
        SCOPED_TRACE(c.ms);
        EXPECT_EQ(DoubleClickIndexFromTime(c.ms), c.index);
    }
    const Case toTime[] = {{900, 0},
                           {550, 5},
                           {200, 10},
                           {970, -1},
                           {130, 11},
                           // Out-of-range indexes from a file stay within what the system takes.
                           {1, 13},
                           {5000, -100},
                           {1, 2147483647},
                           {5000, -2147483647 - 1}};
    for (const Case& c : toTime) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(DoubleClickTimeFromIndex(c.index), c.ms);
    }
}

TEST(PointerMapping, SpeedAndPositionBothWays) {
    const int speeds[] = {10, 1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 10, 10};
    for (int position = 0; position <= 13; ++position) {
        SCOPED_TRACE(position);
        EXPECT_EQ(SpeedFromPosition(position), speeds[position]);
    }
    EXPECT_EQ(SpeedFromPosition(-1), 10);

    // speed -> position for the whole system range and beyond it.
    const std::map<int, int> exact = {{1, 1},  {2, 2},  {4, 3},  {6, 4},   {8, 5},
                                      {12, 7}, {14, 8}, {16, 9}, {18, 10}, {20, 11}};
    for (int speed = -2; speed <= 25; ++speed) {
        SCOPED_TRACE(speed);
        const auto it = exact.find(speed);
        EXPECT_EQ(positionFromSpeed(speed), it == exact.end() ? 6 : it->second);
    }
    // Every position survives the round trip through the system's units.
    for (int position = 1; position <= 11; ++position) {
        EXPECT_EQ(positionFromSpeed(SpeedFromPosition(position)), position);
    }
}

TEST(PointerMapping, PrecisionArraysAndWheelValue) {
    // Thresholds first, acceleration last, as the system reads the array.
    EXPECT_EQ(PrecisionFor(1), (PrecisionArray{6, 10, 1}));
    EXPECT_EQ(PrecisionFor(7), (PrecisionArray{6, 10, 1}));
    EXPECT_EQ(PrecisionFor(0), (PrecisionArray{0, 0, 0}));

    ProfileRecord profile{};
    profile.wheelLines = 5;
    EXPECT_EQ(WheelScrollValue(profile), 5);
    profile.wheelPageScroll = 1;
    EXPECT_EQ(WheelScrollValue(profile), -1);
}

TEST(PointerMapping, RegistryTextAsNumber) {
    struct Case {
        std::u16string text;
        int32_t value;
    };
    const Case cases[] = {{u"500", 500},
                          {u"-1", -1},
                          {u"  12", 12},
                          {u"+7", 7},
                          {u"10abc", 10},
                          {u"abc", 0},
                          {u"", 0},
                          {u"-", 0},
                          {u"99999999999", 2147483647},
                          {u"4294967295", -1},
                          {u"2147483648", -2147483647 - 1},
                          {u"4294967296", 2147483647},
                          {u"-99999999999", -2147483647 - 1},
                          {u"\t3\r\n", 3}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        EXPECT_EQ(ParseRegistryNumber(c.text), c.value);
    }
}

// The registry as a map from key path to values; a key absent from the map cannot be opened.
class FakeRegistry final : public RegistryAccess {
  public:
    using Values = std::map<std::u16string, std::u16string>;
    std::map<std::u16string, Values> keys;
    int openKeys = 0;

    std::unique_ptr<RegistryKey> OpenOrCreate(std::u16string_view path) override {
        auto it = keys.find(std::u16string(path));
        if (it == keys.end()) {
            return nullptr;
        }
        return std::make_unique<Key>(it->second, openKeys);
    }

  private:
    class Key final : public RegistryKey {
      public:
        Key(const Values& values, int& open) : values_(values), open_(open) { ++open_; }
        ~Key() override { --open_; }
        std::optional<std::u16string> ReadText(std::u16string_view name) override {
            EXPECT_EQ(open_, 1) << "one key open at a time";
            auto it = values_.find(std::u16string(name));
            if (it == values_.end()) {
                return std::nullopt;
            }
            return it->second;
        }

      private:
        const Values& values_;
        int& open_;
    };
};

class ReadPointerSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        makeDefaults(*block_);
        registry_.keys[u"Control Panel\\Mouse"] = {{u"DoubleClickSpeed", u"500"},
                                                   {u"MouseSensitivity", u"10"},
                                                   {u"MouseSpeed", u"1"},
                                                   {u"MouseThreshold1", u"6"},
                                                   {u"MouseThreshold2", u"10"}};
        registry_.keys[u"Control Panel\\Desktop"] = {{u"WheelScrollLines", u"3"}};
    }
    FakeRegistry::Values& mouse() { return registry_.keys[u"Control Panel\\Mouse"]; }
    FakeRegistry::Values& desktop() { return registry_.keys[u"Control Panel\\Desktop"]; }
    // A profile whose pointer fields all differ from anything the registry gives.
    ProfileRecord& Marked() {
        ProfileRecord& p = block_->profiles[0];
        p.doubleClickIndex = 77;
        p.pointerSpeed = 77;
        p.enhancePrecision = 77;
        p.wheelLines = 77;
        p.wheelPageScroll = 77;
        return p;
    }

    std::unique_ptr<ProfileBlock> block_ = std::make_unique<ProfileBlock>();
    FakeRegistry registry_;
};

TEST_F(ReadPointerSettings, MapsEachValue) {
    struct Case {
        const char16_t* value;
        std::u16string text;
        int32_t ProfileRecord::*field;
        int32_t expected;
    };
    const Case cases[] = {
        {u"DoubleClickSpeed", u"500", &ProfileRecord::doubleClickIndex, 5},
        {u"DoubleClickSpeed", u"900", &ProfileRecord::doubleClickIndex, 0},
        {u"DoubleClickSpeed", u"200", &ProfileRecord::doubleClickIndex, 10},
        {u"DoubleClickSpeed", u"1000", &ProfileRecord::doubleClickIndex, -1},
        {u"DoubleClickSpeed", u"100", &ProfileRecord::doubleClickIndex, 11},
        {u"DoubleClickSpeed", u"fast", &ProfileRecord::doubleClickIndex, 12},  // text counts as 0
        {u"MouseSensitivity", u"10", &ProfileRecord::pointerSpeed, 6},
        {u"MouseSensitivity", u"20", &ProfileRecord::pointerSpeed, 11},
        {u"MouseSensitivity", u"11", &ProfileRecord::pointerSpeed, 6},
        {u"MouseSensitivity", u"1", &ProfileRecord::pointerSpeed, 1},
        {u"WheelScrollLines", u"7", &ProfileRecord::wheelLines, 7},
        {u"WheelScrollLines", u"-1", &ProfileRecord::wheelLines, 3},
        {u"WheelScrollLines", u"4294967295", &ProfileRecord::wheelPageScroll, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.text.begin(), c.text.end()));
        SetUp();
        (c.value == std::u16string_view(u"WheelScrollLines") ? desktop() : mouse())[c.value] =
            c.text;
        ProfileRecord& p = Marked();
        EXPECT_EQ(readPointerSettings(p, registry_), 1);
        EXPECT_EQ(p.*c.field, c.expected);
        EXPECT_EQ(registry_.openKeys, 0) << "keys closed";
    }
}

TEST_F(ReadPointerSettings, WheelPageScrollAndPrecision) {
    struct Case {
        std::u16string wheel, speed, threshold1, threshold2;
        int32_t lines, page, precision;
    };
    const Case cases[] = {
        {u"-1", u"0", u"0", u"0", 3, 1, 0},   {u"3", u"0", u"6", u"0", 3, 0, 1},
        {u"11", u"0", u"0", u"10", 11, 0, 1}, {u"1", u"1", u"0", u"0", 1, 0, 1},
        {u"5", u"1", u"6", u"10", 5, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.wheel.begin(), c.wheel.end()));
        desktop()[u"WheelScrollLines"] = c.wheel;
        mouse()[u"MouseSpeed"] = c.speed;
        mouse()[u"MouseThreshold1"] = c.threshold1;
        mouse()[u"MouseThreshold2"] = c.threshold2;
        ProfileRecord& p = Marked();
        ASSERT_EQ(readPointerSettings(p, registry_), 1);
        EXPECT_EQ(p.wheelLines, c.lines);
        EXPECT_EQ(p.wheelPageScroll, c.page);
        EXPECT_EQ(p.enhancePrecision, c.precision);
    }
}

TEST_F(ReadPointerSettings, MissingValuesKeepTheProfilesOwn) {
    mouse().clear();
    desktop().clear();
    ProfileRecord& p = Marked();
    EXPECT_EQ(readPointerSettings(p, registry_), 1);
    EXPECT_EQ(p.doubleClickIndex, 77);
    EXPECT_EQ(p.pointerSpeed, 77);
    EXPECT_EQ(p.enhancePrecision, 77);
    EXPECT_EQ(p.wheelLines, 77);
    EXPECT_EQ(p.wheelPageScroll, 77);

    // One precision value is enough to decide; the missing ones do not count as non-zero.
    mouse().insert_or_assign(u"MouseThreshold2", std::u16string(u"0"));
    EXPECT_EQ(readPointerSettings(p, registry_), 1);
    EXPECT_EQ(p.enhancePrecision, 0);
}

TEST_F(ReadPointerSettings, UnopenableKeysEndTheReadEarly) {
    // No desktop key: the mouse values are stored, the wheel is not.
    registry_.keys.erase(u"Control Panel\\Desktop");
    ProfileRecord& p = Marked();
    EXPECT_EQ(readPointerSettings(p, registry_), -1);
    EXPECT_EQ(p.doubleClickIndex, 5);
    EXPECT_EQ(p.pointerSpeed, 6);
    EXPECT_EQ(p.enhancePrecision, 1);
    EXPECT_EQ(p.wheelLines, 77);
    EXPECT_EQ(p.wheelPageScroll, 77);

    // No mouse key: nothing at all is read, the desktop key included.
    SetUp();
    registry_.keys.erase(u"Control Panel\\Mouse");
    ProfileRecord& q = Marked();
    EXPECT_EQ(readPointerSettings(q, registry_), 0);
    EXPECT_EQ(q.doubleClickIndex, 77);
    EXPECT_EQ(q.wheelLines, 77);
    EXPECT_EQ(registry_.openKeys, 0);
}

// Records every system call in order, as text.
class RecordingSystem final : public PointerSystem {
  public:
    std::vector<std::string> calls;
    void SetDoubleClickTime(int ms) override { calls.push_back("dct " + std::to_string(ms)); }
    void SetSystemDoubleClickTime(int ms) override {
        calls.push_back("spi-dct " + std::to_string(ms));
    }
    void SetMouse(const PrecisionArray& v) override {
        calls.push_back("spi-mouse " + std::to_string(v[0]) + "," + std::to_string(v[1]) + "," +
                        std::to_string(v[2]));
    }
    void SetMouseSpeed(int speed) override {
        calls.push_back("spi-speed " + std::to_string(speed));
    }
    void SetWheelScrollLines(int lines) override {
        calls.push_back("spi-wheel " + std::to_string(lines));
    }
};

class ApplyPointerSettings : public ::testing::Test {
  protected:
    void SetUp() override {
        makeDefaults(*applied_);
        makeDefaults(*edited_);
    }
    std::vector<std::string> Apply() {
        RecordingSystem system;
        applyPointerSettings(*applied_, *edited_, system);
        return system.calls;
    }
    std::unique_ptr<ProfileBlock> applied_ = std::make_unique<ProfileBlock>();
    std::unique_ptr<ProfileBlock> edited_ = std::make_unique<ProfileBlock>();
};

TEST_F(ApplyPointerSettings, OnlyChangedGroupsReachTheSystem) {
    using Calls = std::vector<std::string>;
    EXPECT_EQ(Apply(), Calls{});

    edited_->profiles[0].doubleClickIndex = 5;
    EXPECT_EQ(Apply(), (Calls{"dct 550", "spi-dct 550"}));
    SetUp();

    edited_->profiles[0].enhancePrecision = 1;
    EXPECT_EQ(Apply(), (Calls{"spi-mouse 6,10,1", "spi-speed 10"}));
    SetUp();

    edited_->profiles[0].pointerSpeed = 11;
    EXPECT_EQ(Apply(), (Calls{"spi-mouse 0,0,0", "spi-speed 20"}));
    SetUp();

    edited_->profiles[0].wheelLines = 7;
    EXPECT_EQ(Apply(), (Calls{"spi-wheel 7"}));
    SetUp();

    // Page scrolling passes -1 whatever the line count says.
    edited_->profiles[0].wheelPageScroll = 1;
    EXPECT_EQ(Apply(), (Calls{"spi-wheel -1"}));
    SetUp();

    // Other profiles and other fields do not count.
    edited_->profiles[3].doubleClickIndex = 1;
    edited_->profiles[0].lightColour = 0x123456;
    edited_->profiles[0].programPath[0] = u'x';
    EXPECT_EQ(Apply(), Calls{});
}

TEST_F(ApplyPointerSettings, AnotherCurrentProfileAppliesEverything) {
    ProfileRecord& p = edited_->profiles[2];
    p.doubleClickIndex = 10;
    p.pointerSpeed = 3;
    p.enhancePrecision = 1;
    p.wheelLines = 3;
    p.wheelPageScroll = 1;
    edited_->currentIndex = 2;
    // The applied copy of profile 2 equals the edited one: only the index differs.
    applied_->profiles[2] = p;
    EXPECT_EQ(Apply(), (std::vector<std::string>{"dct 200", "spi-dct 200", "spi-mouse 6,10,1",
                                                 "spi-speed 4", "spi-wheel -1"}));
}

TEST_F(ApplyPointerSettings, OutOfRangeIndexUsesTheFirstProfile) {
    edited_->currentIndex = 9;
    applied_->currentIndex = 9;
    edited_->profiles[0].wheelLines = 9;
    EXPECT_EQ(Apply(), std::vector<std::string>{"spi-wheel 9"});
}

}  // namespace
}  // namespace t30
