#include "ui/controls/control_rules.h"

#include <climits>
#include <cmath>

#include "base/wide_text.h"

namespace t30 {
namespace {

int Saturate(long long value) {
    if (value > INT_MAX) {
        return INT_MAX;
    }
    if (value < INT_MIN) {
        return INT_MIN;
    }
    return static_cast<int>(value);
}

// Rounds halves up (also below zero) or truncates toward zero.
int ToInt(double value, bool rounding) {
    const double whole = rounding ? std::floor(value + 0.5) : std::trunc(value);
    if (whole >= static_cast<double>(INT_MAX)) {
        return INT_MAX;
    }
    if (whole <= static_cast<double>(INT_MIN)) {
        return INT_MIN;
    }
    return static_cast<int>(whole);
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// The multiple of step nearest to v, halves up (integer division as the arrows do it).
long long Snap(long long v, long long step) {
    return step * ((v + step / 2) / step);
}

}  // namespace

int ClampInt(int value, int low, int high) {
    if (high < low) {
        return low;
    }
    return value < low ? low : (value > high ? high : value);
}

int SliderLeftOfValue(const SliderTravel& t, int value) {
    if (t.maximum <= t.minimum) {
        return t.x1;
    }
    const int v = ClampInt(value, t.minimum, t.maximum);
    const double travel = static_cast<double>(t.x2) - t.x1 - t.knobWidth;
    // Nearest pixel: truncating would let a knob that is pressed and let go without moving read
    // back as the value below whenever a value's place falls just short of a whole pixel.
    return ToInt(travel * (static_cast<double>(v) - t.minimum) /
                         (static_cast<double>(t.maximum) - t.minimum) +
                     t.x1,
                 true);
}

int SliderValueOfLeft(const SliderTravel& t, int left, bool rounding, double* exact) {
    const double travel = static_cast<double>(t.x2) - t.x1 - t.knobWidth;
    double v = t.minimum;
    if (travel > 0) {
        v = (static_cast<double>(t.maximum) - t.minimum) * (static_cast<double>(left) - t.x1) /
                travel +
            t.minimum;
    }
    if (exact != nullptr) {
        *exact = v;
    }
    return ClampInt(ToInt(v, rounding), t.minimum, t.maximum);
}

int TrackValueOfClick(int x, int width, int minimum, int maximum, bool rounding, double* exact) {
    double v = minimum;
    if (width > 1) {
        v = (static_cast<double>(maximum) - minimum) * x / (width - 1) + minimum;
    }
    if (exact != nullptr) {
        *exact = v;
    }
    return ClampInt(ToInt(v, rounding), minimum, maximum);
}

int LeadingInt(std::u16string_view text) {
    std::size_t i = 0;
    while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) {
        ++i;
    }
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    long long value = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        value = value * 10 + (text[i] - u'0');
        if (value > 1LL + INT_MAX) {
            break;
        }
    }
    return Saturate(negative ? -value : value);
}

std::u16string DecimalText(int value) {
    const std::string narrow = std::to_string(value);
    return Widen(narrow);
}

std::optional<int> SpinUp(const SpinRange& r, std::u16string_view text) {
    const long long step = r.step < 1 ? 1 : r.step;
    const long long v = LeadingInt(text);
    if (v > r.maximum) {
        return std::nullopt;
    }
    long long c = v + step < r.maximum ? v + step : r.maximum;
    c = c > r.minimum ? c : r.minimum;
    return Saturate(Snap(c, step));
}

std::optional<int> SpinDown(const SpinRange& r, std::u16string_view text) {
    const long long step = r.step < 1 ? 1 : r.step;
    const long long v = LeadingInt(text);
    if (v < r.minimum) {
        return std::nullopt;
    }
    long long c = v - step > r.minimum ? v - step : r.minimum;
    c = c < r.maximum ? c : r.maximum;
    return Saturate(Snap(c, step));
}

SpinChange SpinTextChanged(const SpinRange& r, std::u16string_view text) {
    const long long step = r.step < 1 ? 1 : r.step;
    const int v = LeadingInt(text);
    const int s = ClampInt(Saturate(Snap(v, step)), r.minimum, r.maximum);
    return s != v ? SpinChange{s, true} : SpinChange{v, false};
}

SpinLeave SpinFocusLost(const SpinRange& r, std::u16string t) {
    // Leading characters that cannot start a number ("a5", "0012") are dropped.
    const std::size_t first = t.find_first_of(u"-+123456789");
    if (first != std::u16string::npos) {
        t.erase(0, first);
    }
    int v = LeadingInt(t);
    v = v < r.maximum ? v : r.maximum;
    std::u16string digits;
    bool sign = false;
    for (char16_t c : t) {
        if (IsDigit(c)) {
            digits += c;
        } else if ((c == u'-' || c == u'+') && !sign) {
            digits += c;
            sign = true;
        }
    }
    SpinLeave out{v, std::nullopt, false};
    if (!t.empty()) {
        if (v == 0 && v < r.minimum) {
            v = r.minimum;
        }
        const std::u16string shown = DecimalText(v);
        if (t != u"-" && t != u"+" && (shown != digits || shown != t)) {
            out.rewrite = shown;
        }
    }
    out.value = v;
    out.notify = v >= r.minimum && r.maximum >= r.minimum;
    return out;
}

int SpinTextLimit(int minimum, int maximum) {
    return static_cast<int>(DecimalText(maximum).size()) + (minimum < 0 ? 1 : 0);
}

bool FilterNumericText(std::u16string& text) {
    std::u16string kept;
    kept.reserve(text.size());
    for (char16_t c : text) {
        if (IsDigit(c) || c == u'.' || c == u',') {
            kept += c;
        }
    }
    if (kept.size() == text.size()) {
        return false;
    }
    text.swap(kept);
    return true;
}

ListCommit CommitListEdit(bool newRow, bool renaming, std::u16string_view text) {
    const bool hasText = !text.empty();
    ListCommit out{newRow || hasText, hasText, 0};
    if (hasText) {
        out.notify = renaming ? kListRowRenamed : kListNewRowCommitted;
    }
    return out;
}

}  // namespace t30
