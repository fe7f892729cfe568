#include "host/program_switch.h"

#include <gtest/gtest.h>

#include <vector>

#include "base/fixed_string.h"

namespace t30 {
namespace {

TEST(ProgramName, TrimAndFilePart) {
    struct Case {
        std::u16string_view path, name;
    };
    const Case cases[] = {
        {u"C:\\Games\\Game.EXE", u"Game.EXE"},
        {u"C:/tools/x.exe", u"x.exe"},
        {u"D:game.exe", u"game.exe"},
        {u"game.exe", u"game.exe"},
        {u"\\\\server\\share\\a b.exe", u"a b.exe"},
        {u"C:\\folder.with.dots\\noext", u"noext"},
        {u"C:\\Games\\", u""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ProgramFileName(c.path), c.name);
    }
    EXPECT_EQ(TrimWhite(u" \t C:\\a.exe \r\n"), u"C:\\a.exe");
    EXPECT_EQ(TrimWhite(u"    "), u"");
}

TEST(ProgramName, CaseIsIgnoredAcrossScripts) {
    struct Case {
        std::u16string_view a, b;
        bool equal;
    };
    const Case cases[] = {
        {u"Game.EXE", u"game.exe", true},
        {u"GAME.exe", u"gamf.exe", false},
        {u"game.exe", u"game.ex", false},
        {u"ÜBER.EXE", u"über.exe", true},
        {u"ŁÓDŹ.exe", u"łódź.exe", true},
        {u"ИГРА.exe", u"игра.exe", true},
        {u"ΠΑΙΧΝΙΔΙ.exe", u"παιχνιδι.exe", true},
        {u"Ёж.exe", u"ёж.exe", true},
        {u"×.exe", u"÷.exe", false},  // not a letter pair
        {u"[a].exe", u"{a}.exe", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(EqualsIgnoringCase(c.a, c.b), c.equal) << std::string(c.a.begin(), c.a.end());
    }
}

class ProgramSwitch : public ::testing::Test, public ForegroundProgram, public ProfileActivator {
  protected:
    void Bind(int profile, std::u16string_view path) {
        SetFixed(store_.edited().profiles[profile].programPath, path);
    }
    int Tick(bool recording = false) {
        return checkForegroundProgram(store_, *this, *this, recording);
    }

    std::optional<std::u16string> ExecutableName() override { return foreground_; }
    void activateProfile(int index) override {
        activated_.push_back(index);
        store_.SetCurrentIndex(index);
    }

    ProfileStore store_;
    std::optional<std::u16string> foreground_;
    std::vector<int> activated_;
};

TEST_F(ProgramSwitch, MatchesByFileNameWithoutCase) {
    Bind(2, u"C:\\Program Files\\Maker\\Game.EXE");
    foreground_ = u"game.exe";
    EXPECT_EQ(Tick(), 2);
    EXPECT_EQ(activated_, std::vector<int>{2});
    EXPECT_EQ(store_.CurrentIndex(), 2);
}

TEST_F(ProgramSwitch, LowestBoundProfileWinsEveryTime) {
    Bind(4, u"D:\\a\\game.exe");
    Bind(1, u"E:\\b\\GAME.exe");
    Bind(3, u"game.exe");
    foreground_ = u"game.exe";
    EXPECT_EQ(Tick(), 1);
    store_.SetCurrentIndex(4);
    EXPECT_EQ(Tick(), 1);
    EXPECT_EQ(activated_, (std::vector<int>{1, 1}));
}

TEST_F(ProgramSwitch, WhiteSpaceAndEmptyPathsBindNothing) {
    Bind(1, u"      ");
    Bind(2, u"  C:\\x\\tool.exe \t");
    foreground_ = u"      ";
    EXPECT_EQ(Tick(), -1);
    foreground_ = u"";
    EXPECT_EQ(Tick(), -1);
    // Padding around a real path does not hide it.
    foreground_ = u"TOOL.exe";
    EXPECT_EQ(Tick(), 2);
    EXPECT_EQ(activated_, std::vector<int>{2});
}

TEST_F(ProgramSwitch, NothingHappensWithoutReasonToSwitch) {
    Bind(0, u"C:\\game.exe");
    foreground_ = u"game.exe";  // already current
    EXPECT_EQ(Tick(), -1);
    foreground_ = u"other.exe";  // unbound program: the current profile stays
    store_.SetCurrentIndex(3);
    EXPECT_EQ(Tick(), -1);
    foreground_.reset();  // no foreground program at all
    EXPECT_EQ(Tick(), -1);
    EXPECT_TRUE(activated_.empty());
    EXPECT_EQ(store_.CurrentIndex(), 3);
}

// A recording holds the switch off; the first tick after it switches if the program is still in
// front, and not if it has gone meanwhile.
TEST_F(ProgramSwitch, RecordingHoldsTheSwitchOffUntilItEnds) {
    Bind(3, u"C:\\game.exe");
    foreground_ = u"game.exe";
    EXPECT_EQ(Tick(true), -1);
    EXPECT_EQ(Tick(true), -1);
    EXPECT_TRUE(activated_.empty());
    EXPECT_EQ(store_.CurrentIndex(), 0);
    EXPECT_EQ(Tick(false), 3);
    EXPECT_EQ(activated_, std::vector<int>{3});

    store_.SetCurrentIndex(0);
    activated_.clear();
    EXPECT_EQ(Tick(true), -1);
    foreground_ = u"other.exe";
    EXPECT_EQ(Tick(false), -1);
    EXPECT_TRUE(activated_.empty());
}

TEST_F(ProgramSwitch, BackAndForthSwitchesOncePerTick) {
    Bind(1, u"C:\\a.exe");
    Bind(2, u"C:\\b.exe");
    const char16_t* sequence[] = {u"a.exe", u"a.exe", u"b.exe", u"a.exe", u"b.exe", u"b.exe"};
    for (const char16_t* name : sequence) {
        foreground_ = name;
        Tick();
    }
    EXPECT_EQ(activated_, (std::vector<int>{1, 2, 1, 2}));
}

TEST_F(ProgramSwitch, ChooseAndClearTheCurrentProfilesProgram) {
    store_.SetCurrentIndex(3);
    EXPECT_TRUE(chooseProgram(store_, u"C:\\Games\\Racer.exe"));
    EXPECT_EQ(FixedView(store_.edited().profiles[3].programPath), u"C:\\Games\\Racer.exe");
    EXPECT_EQ(ProgramLabel(store_.current()), u"Racer.exe");
    EXPECT_EQ(FixedView(store_.edited().profiles[0].programPath), u"");

    // 499 characters fit; 500 would lose the end of the path, so the old binding stays.
    const std::u16string longest = u"C:\\" + std::u16string(490, u'x') + u"\\y.exe";
    ASSERT_EQ(longest.size(), 499u);
    EXPECT_TRUE(chooseProgram(store_, longest));
    EXPECT_EQ(FixedView(store_.current().programPath), longest);
    EXPECT_FALSE(chooseProgram(store_, longest + u"e"));
    EXPECT_EQ(FixedView(store_.current().programPath), longest);

    clearProgram(store_);
    EXPECT_EQ(FixedView(store_.current().programPath), u"");
    EXPECT_EQ(ProgramLabel(store_.current()), u"");
    // Cleared means every unit zero, not just the first.
    for (char16_t c : store_.current().programPath) {
        ASSERT_EQ(c, 0);
    }
}

}  // namespace
}  // namespace t30
