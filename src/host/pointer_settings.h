// The desktop's pointer settings as a profile carries them: double-click speed, pointer speed and
// precision, wheel lines. The mapping between the profile's indexes and the system's units is
// plain arithmetic; the registry and the system parameters are reached through two interfaces so
// the whole read and apply logic runs (and is tested) without Windows.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "profile/profile_record.h"

namespace t30 {

// Double-click index 0..10 <-> 900..200 ms. Indexes outside 0..10 (from unusual desktop values)
// are carried as they are; a time made from one is kept within the 1..5000 ms the system accepts
// (a far-out index read from a file would otherwise give a negative or overflowing time).
constexpr int DoubleClickTimeFromIndex(int32_t index) {
    const int64_t ms = 900 - 70 * int64_t(index);
    return ms < 1 ? 1 : ms > 5000 ? 5000 : int(ms);
}
// Truncates toward zero, so 1000 ms gives -1 and 100 ms gives 11.
constexpr int32_t DoubleClickIndexFromTime(int32_t ms) {
    return int32_t((900 - int64_t(ms)) / 70);
}

// Pointer speed position 1..11 -> system speed 1..20 (position p at kSpeedFromPosition[p - 1]).
constexpr std::array<int, 11> kSpeedFromPosition = {1, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20};
// Any position outside 1..11 gives the system's middle speed, 10.
constexpr int SpeedFromPosition(int position) {
    return position >= 1 && position <= 11 ? kSpeedFromPosition[position - 1] : 10;
}
// The inverse; speeds the table does not produce (10, odd values above 2, out of range) give 6.
int positionFromSpeed(int speed);

// The three integers handed to the system for pointer precision, in the system's order: the two
// thresholds, then the acceleration. On is the desktop's own default (MouseThreshold1 6,
// MouseThreshold2 10, MouseSpeed 1); {1, 6, 10} would leave an acceleration of 10 behind.
using PrecisionArray = std::array<int, 3>;
constexpr PrecisionArray kPrecisionOn = {6, 10, 1};
constexpr PrecisionArray kPrecisionOff = {0, 0, 0};
constexpr PrecisionArray PrecisionFor(int32_t enhancePrecision) {
    return enhancePrecision != 0 ? kPrecisionOn : kPrecisionOff;
}

// The system's "scroll one page per notch" value for the wheel.
constexpr int kWheelPageScroll = -1;
constexpr int WheelScrollValue(const ProfileRecord& profile) {
    return profile.wheelPageScroll != 0 ? kWheelPageScroll : profile.wheelLines;
}

// A registry value read as text turned into a number the way the desktop's own readers do: leading
// white space, an optional sign, then decimal digits up to the first other character; text that
// is not a number gives 0. A value written unsigned (4294967295) means its 32-bit signed self (-1);
// values beyond 32 bits are clamped.
int32_t ParseRegistryNumber(std::u16string_view text);

// One open registry key of the current user.
class RegistryKey {
  public:
    virtual ~RegistryKey() = default;
    // The value as text; nothing when it is missing or cannot be read as text.
    virtual std::optional<std::u16string> ReadText(std::u16string_view name) = 0;
};

class RegistryAccess {
  public:
    virtual ~RegistryAccess() = default;
    // Opens the key below HKEY_CURRENT_USER, creating it when it does not exist; null when both
    // fail. The key closes when the returned object goes.
    virtual std::unique_ptr<RegistryKey> OpenOrCreate(std::u16string_view path) = 0;
};

// The system calls an apply makes. Every call stores the setting for the session and in the
// user's profile and tells other programs; failures are ignored by the caller.
class PointerSystem {
  public:
    virtual ~PointerSystem() = default;
    virtual void SetDoubleClickTime(int ms) = 0;              // SetDoubleClickTime
    virtual void SetSystemDoubleClickTime(int ms) = 0;        // SPI_SETDOUBLECLICKTIME
    virtual void SetMouse(const PrecisionArray& values) = 0;  // SPI_SETMOUSE
    virtual void SetMouseSpeed(int speed) = 0;                // SPI_SETMOUSESPEED
    virtual void SetWheelScrollLines(int lines) = 0;          // SPI_SETWHEELSCROLLLINES
};

inline constexpr std::u16string_view kMouseKeyPath = u"Control Panel\\Mouse";
inline constexpr std::u16string_view kDesktopKeyPath = u"Control Panel\\Desktop";

// Fills the five pointer fields of `profile` from the registry. A value that is missing or
// unreadable leaves its field as it was. Returns 1 when both keys were read, 0 when the mouse key
// could not be opened (nothing read), -1 when the desktop key could not be opened (the mouse
// values are already stored).
int readPointerSettings(ProfileRecord& profile, RegistryAccess& registry);

// Applies the pointer settings of the edited block's current profile that differ from the applied
// block's (all of them when the two blocks' current profiles differ). Runs before the edited block
// replaces the applied one.
void applyPointerSettings(const ProfileBlock& applied, const ProfileBlock& edited,
                          PointerSystem& system);

}  // namespace t30
