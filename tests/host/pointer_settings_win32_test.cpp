// The pointer settings against the real registry and system parameters of the test prefix.
#include "host/pointer_settings_win32.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "profile/profile_store.h"

namespace t30 {
namespace {

void SetText(const wchar_t* key, const wchar_t* name, const std::wstring& value) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, key, name, REG_SZ, value.c_str(),
                              DWORD((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
}

std::wstring GetText(const wchar_t* key, const wchar_t* name) {
    wchar_t buffer[64] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, key, name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS) {
        return L"<missing>";
    }
    return buffer;
}

constexpr const wchar_t* kMouse = L"Control Panel\\Mouse";
constexpr const wchar_t* kDesktop = L"Control Panel\\Desktop";

class PointerSettingsWin32 : public ::testing::Test {
  protected:
    void SetUp() override { makeDefaults(*block_); }
    std::unique_ptr<ProfileBlock> block_ = std::make_unique<ProfileBlock>();
};

TEST_F(PointerSettingsWin32, ReadsTheCurrentUsersRegistry) {
    SetText(kMouse, L"DoubleClickSpeed", L"500");
    SetText(kMouse, L"MouseSensitivity", L"20");
    SetText(kMouse, L"MouseSpeed", L"0");
    SetText(kMouse, L"MouseThreshold1", L"6");
    SetText(kMouse, L"MouseThreshold2", L"0");
    SetText(kDesktop, L"WheelScrollLines", L"-1");

    ProfileRecord& p = block_->profiles[0];
    Win32Registry registry;
    EXPECT_EQ(readPointerSettings(p, registry), 1);
    EXPECT_EQ(p.doubleClickIndex, 5);
    EXPECT_EQ(p.pointerSpeed, 11);
    EXPECT_EQ(p.enhancePrecision, 1);
    EXPECT_EQ(p.wheelLines, 3);
    EXPECT_EQ(p.wheelPageScroll, 1);

    // A value stored as a number reads the same; a missing one keeps the field.
    const DWORD lines = 7;
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kDesktop, L"WheelScrollLines", REG_DWORD, &lines,
                              sizeof lines),
              ERROR_SUCCESS);
    ASSERT_EQ(RegDeleteKeyValueW(HKEY_CURRENT_USER, kMouse, L"DoubleClickSpeed"), ERROR_SUCCESS);
    p.doubleClickIndex = 42;
    EXPECT_EQ(readPointerSettings(p, registry), 1);
    EXPECT_EQ(p.doubleClickIndex, 42);
    EXPECT_EQ(p.wheelLines, 7);
    EXPECT_EQ(p.wheelPageScroll, 0);
}

TEST_F(PointerSettingsWin32, AppliesToTheSystemAndReadsBackTheSame) {
    auto applied = std::make_unique<ProfileBlock>(*block_);
    ProfileRecord& p = block_->profiles[1];
    p.doubleClickIndex = 5;
    p.pointerSpeed = 9;
    p.enhancePrecision = 1;
    p.wheelLines = 3;
    p.wheelPageScroll = 1;
    block_->currentIndex = 1;  // another profile: everything is applied

    Win32PointerSystem system;
    applyPointerSettings(*applied, *block_, system);

    EXPECT_EQ(GetDoubleClickTime(), 550u);
    int speed = 0;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &speed, 0));
    EXPECT_EQ(speed, 16);
    int mouse[3] = {};
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETMOUSE, 0, mouse, 0));
    // The system's order: the two thresholds, then the acceleration (the desktop's defaults).
    EXPECT_EQ(mouse[0], 6);
    EXPECT_EQ(mouse[1], 10);
    EXPECT_EQ(mouse[2], 1);
    EXPECT_EQ(GetText(kMouse, L"MouseThreshold1"), L"6");
    EXPECT_EQ(GetText(kMouse, L"MouseThreshold2"), L"10");
    EXPECT_EQ(GetText(kMouse, L"MouseSpeed"), L"1");
    UINT wheel = 0;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &wheel, 0));
    EXPECT_EQ(wheel, UINT(-1));
    // Windows spells page scrolling -1, Wine 4294967295; the reader takes both.
    const std::wstring pageScroll = GetText(kDesktop, L"WheelScrollLines");
    EXPECT_TRUE(pageScroll == L"-1" || pageScroll == L"4294967295") << pageScroll;
    EXPECT_EQ(GetText(kMouse, L"MouseSensitivity"), L"16");

    // What was applied is what the next start reads.
    ProfileRecord back{};
    Win32Registry registry;
    EXPECT_EQ(readPointerSettings(back, registry), 1);
    EXPECT_EQ(back.doubleClickIndex, 5);
    EXPECT_EQ(back.pointerSpeed, 9);
    EXPECT_EQ(back.enhancePrecision, 1);
    EXPECT_EQ(back.wheelLines, 3);
    EXPECT_EQ(back.wheelPageScroll, 1);

    // Precision off, plain line count.
    *applied = *block_;
    p.enhancePrecision = 0;
    p.wheelPageScroll = 0;
    p.wheelLines = 5;
    applyPointerSettings(*applied, *block_, system);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETMOUSE, 0, mouse, 0));
    EXPECT_EQ(mouse[0] | mouse[1] | mouse[2], 0);
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &wheel, 0));
    EXPECT_EQ(wheel, 5u);
    EXPECT_EQ(readPointerSettings(back, registry), 1);
    EXPECT_EQ(back.enhancePrecision, 0);
    EXPECT_EQ(back.wheelLines, 5);
    EXPECT_EQ(back.wheelPageScroll, 0);
}

}  // namespace
}  // namespace t30
