#include "host/pointer_settings.h"

#include <algorithm>
#include <limits>

#include "profile/profile_store.h"

namespace t30 {

int positionFromSpeed(int speed) {
    for (int position = 1; position <= 11; ++position) {
        if (kSpeedFromPosition[position - 1] == speed) {
            return position;
        }
    }
    return 6;
}

int32_t ParseRegistryNumber(std::u16string_view text) {
    std::size_t i = 0;
    auto isSpace = [](char16_t c) { return c == u' ' || (c >= u'\t' && c <= u'\r'); };
    while (i < text.size() && isSpace(text[i])) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    constexpr int64_t kLimit = int64_t(1) << 33;  // anything beyond 32 bits is simply too big
    int64_t value = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
        value = std::min(value * 10 + (text[i] - u'0'), kLimit);
    }
    if (negative) {
        return int32_t(std::max(-value, int64_t(std::numeric_limits<int32_t>::min())));
    }
    if (value <= std::numeric_limits<int32_t>::max()) {
        return int32_t(value);
    }
    // Some writers spell a negative 32-bit value unsigned (-1 as 4294967295).
    if (value <= std::numeric_limits<uint32_t>::max()) {
        return int32_t(uint32_t(value));
    }
    return std::numeric_limits<int32_t>::max();
}

namespace {

std::optional<int32_t> ReadNumber(RegistryKey& key, std::u16string_view name) {
    std::optional<std::u16string> text = key.ReadText(name);
    if (!text) {
        return std::nullopt;
    }
    return ParseRegistryNumber(*text);
}

}  // namespace

int readPointerSettings(ProfileRecord& profile, RegistryAccess& registry) {
    {
        std::unique_ptr<RegistryKey> mouse = registry.OpenOrCreate(kMouseKeyPath);
        if (!mouse) {
            return 0;
        }
        if (auto v = ReadNumber(*mouse, u"DoubleClickSpeed")) {
            profile.doubleClickIndex = DoubleClickIndexFromTime(*v);
        }
        if (auto v = ReadNumber(*mouse, u"MouseSensitivity")) {
            profile.pointerSpeed = positionFromSpeed(*v);
        }
        // Precision is on when any of the three is non-zero; only values actually read count.
        bool anyRead = false;
        bool anyNonZero = false;
        for (std::u16string_view name : {u"MouseSpeed", u"MouseThreshold1", u"MouseThreshold2"}) {
            if (auto v = ReadNumber(*mouse, name)) {
                anyRead = true;
                anyNonZero = anyNonZero || *v != 0;
            }
        }
        if (anyRead) {
            profile.enhancePrecision = anyNonZero ? 1 : 0;
        }
    }
    std::unique_ptr<RegistryKey> desktop = registry.OpenOrCreate(kDesktopKeyPath);
    if (!desktop) {
        return -1;
    }
    if (auto v = ReadNumber(*desktop, u"WheelScrollLines")) {
        if (*v == kWheelPageScroll) {
            profile.wheelLines = 3;
            profile.wheelPageScroll = 1;
        } else {
            profile.wheelLines = *v;
            profile.wheelPageScroll = 0;
        }
    }
    return 1;
}

void applyPointerSettings(const ProfileBlock& applied, const ProfileBlock& edited,
                          PointerSystem& system) {
    const int p = SanitizedProfileIndex(edited.currentIndex);
    const ProfileRecord& e = edited.profiles[p];
    const ProfileRecord& a = applied.profiles[p];
    const bool all = applied.currentIndex != edited.currentIndex;

    if (all || e.doubleClickIndex != a.doubleClickIndex) {
        const int ms = DoubleClickTimeFromIndex(e.doubleClickIndex);
        system.SetDoubleClickTime(ms);
        system.SetSystemDoubleClickTime(ms);
    }
    if (all || e.enhancePrecision != a.enhancePrecision || e.pointerSpeed != a.pointerSpeed) {
        system.SetMouse(PrecisionFor(e.enhancePrecision));
        system.SetMouseSpeed(SpeedFromPosition(e.pointerSpeed));
    }
    if (all || e.wheelPageScroll != a.wheelPageScroll || e.wheelLines != a.wheelLines) {
        system.SetWheelScrollLines(WheelScrollValue(e));
    }
}

}  // namespace t30
