#include "ui/skin/skin_entry.h"

#include <algorithm>
#include <limits>

namespace t30 {
namespace {

bool IsSpace(char16_t c) {
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\v' || c == u'\f';
}

std::int32_t Saturate(std::int64_t v) {
    if (v > std::numeric_limits<std::int32_t>::max()) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (v < std::numeric_limits<std::int32_t>::min()) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(v);
}

// One "%d": optional white space, optional sign, at least one digit. Advances pos only on success.
bool ReadInt(std::u16string_view s, std::size_t& pos, std::int32_t& out) {
    std::size_t i = pos;
    while (i < s.size() && IsSpace(s[i])) {
        ++i;
    }
    bool negative = false;
    if (i < s.size() && (s[i] == u'+' || s[i] == u'-')) {
        negative = s[i] == u'-';
        ++i;
    }
    const std::size_t digits = i;
    std::int64_t value = 0;
    while (i < s.size() && s[i] >= u'0' && s[i] <= u'9') {
        if (value <= (std::int64_t{1} << 40)) {  // keeps growing past int32 without overflowing
            value = value * 10 + (s[i] - u'0');
        }
        ++i;
    }
    if (i == digits) {
        return false;
    }
    out = Saturate(negative ? -value : value);
    pos = i;
    return true;
}

}  // namespace

std::u16string_view TrimSkinText(std::u16string_view text) {
    while (!text.empty() && IsSpace(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && IsSpace(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

SkinEntry ParseSkinEntry(std::u16string_view value) {
    SkinEntry entry;
    std::u16string_view rest = value;
    const std::size_t comma = value.find(u',');
    if (comma != std::u16string_view::npos) {
        entry.name = value.substr(0, std::min(comma, SkinEntry::kMaxName));
        rest = value.substr(comma + 1);
    }

    std::int32_t numbers[4] = {0, 0, 0, 0};
    std::size_t pos = 0;
    for (int i = 0; i < 4; ++i) {
        if (i > 0) {
            if (pos >= rest.size() || rest[pos] != u',') {
                break;
            }
            ++pos;
        }
        if (!ReadInt(rest, pos, numbers[i])) {
            break;
        }
    }
    entry.left = numbers[0];
    entry.top = numbers[1];
    entry.right = Saturate(std::int64_t{numbers[0]} + numbers[2]);
    entry.bottom = Saturate(std::int64_t{numbers[1]} + numbers[3]);

    const std::size_t last = rest.rfind(u',');
    const std::u16string_view tail =
        last == std::u16string_view::npos ? rest : rest.substr(last + 1);
    entry.text = TrimSkinText(tail).substr(0, SkinEntry::kMaxText);
    return entry;
}

}  // namespace t30
