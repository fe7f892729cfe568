#include "vmouse/report_view.h"

#include <cstdarg>
#include <cstring>
#include <cwchar>

#include "keys/key_conversion.h"
#include "keys/key_table.h"
#include "keys/keyboard_layout.h"

namespace t30::vmouse {
namespace {

std::wstring Format(const wchar_t* fmt, ...) {
    wchar_t buf[256];
    va_list args;
    va_start(args, fmt);
    std::vswprintf(buf, sizeof buf / sizeof buf[0], fmt, args);
    va_end(args);
    return buf;
}

std::wstring Rgb(const uint8_t* c) {
    return Format(L"#%02X%02X%02X", c[0], c[1], c[2]);
}

}  // namespace

void HeldReports::Take(const std::vector<uint8_t>& r) {
    if (r.size() < 2) {
        return;
    }
    switch (r[0]) {
        case 0x04:
            dpi = r;
            break;
        case 0x05:
            lighting = r;
            break;
        case 0x06:
            rate = r;
            break;
        case 0x08:
            buttons = r;
            break;
        case 0x09:
            if (r.size() >= 3) {
                macros[r[2]] = r;
            }
            break;
        default:
            break;
    }
}

std::wstring UsageName(int usage) {
    static const wchar_t* const kMouse[] = {L"Left button", L"Right button", L"Wheel button",
                                            L"Back button", L"Forward button"};
    if (usage >= 0xF1 && usage <= 0xF5) {
        return kMouse[usage - 0xF1];
    }
    const auto vk = UsageToVirtualKey(usage, UsKeyboardLayout());
    const std::u16string name = vk ? GetKeyName(*vk) : std::u16string();
    if (name.empty()) {
        return Format(L"key 0x%02X", usage);
    }
    return std::wstring(name.begin(), name.end());
}

std::vector<std::wstring> Describe(const HeldReports& h, const FunctionName& functionName) {
    std::vector<std::wstring> lines;
    if (h.dpi.size() >= 34) {
        const auto& r = h.dpi;
        lines.push_back(Format(L"DPI stages (sensitivity X %u, Y %u):", r[2], r[3]));
        for (int i = 0; i < 5; ++i) {
            const bool high = (r[5] >> i) & 1;
            const int value = high ? r[7 + i] * 2 : r[7 + i];
            lines.push_back(Format(
                L"  %ls stage %d: %5d DPI  %-8ls colour %ls", r[17] == i + 1 ? L">" : L" ", i + 1,
                value * 38, ((r[4] >> i) & 1) ? L"enabled" : L"off", Rgb(&r[18 + 3 * i]).c_str()));
        }
    } else {
        lines.push_back(L"DPI stages: nothing received");
    }
    if (h.lighting.size() >= 9) {
        const auto& r = h.lighting;
        lines.push_back(Format(L"Lighting: mode %u, speed code %u, level code %u, colour %ls", r[2],
                               r[3], r[4], Rgb(&r[5]).c_str()));
    } else {
        lines.push_back(L"Lighting: nothing received");
    }
    if (h.rate.size() >= 8) {
        const int code = h.rate[2];
        lines.push_back(code > 0 ? Format(L"Report rate: %d Hz (code %d)", 1000 / code, code)
                                 : Format(L"Report rate: code %d", code));
    } else {
        lines.push_back(L"Report rate: nothing received");
    }
    lines.push_back(L"Buttons:");
    if (h.buttons.size() >= 38) {
        for (int i = 0; i < 12; ++i) {
            const uint8_t* e = &h.buttons[2 + 3 * i];
            std::wstring what;
            if (e[0] == 0x11) {
                what = Format(L"keys: modifiers 0x%02X + %ls", e[1], UsageName(e[2]).c_str());
            } else {
                what = functionName(e[0]);
                if (e[2] != 0) {
                    what += Format(L" (0x%02X)", e[2]);
                }
            }
            lines.push_back(Format(L"  %2d: %ls", i + 1, what.c_str()));
        }
    } else {
        lines.push_back(L"  nothing received");
    }
    for (const auto& [slot, r] : h.macros) {
        if (r.size() < 30) {
            continue;
        }
        lines.push_back(
            Format(L"Macro on slot %d: run mode %u, repeat %u, %u steps", slot, r[3], r[4], r[29]));
        std::wstring steps = L"   ";
        for (int k = 0; k < r[29] && 31 + 2 * k < int(r.size()); ++k) {
            const uint8_t value = r[30 + 2 * k];
            const uint8_t code = r[31 + 2 * k];
            std::wstring step;
            if (code == 3) {
                step = Format(L"wait %d ms", value * 200);
            } else if (code == 0) {
                step = Format(L"wait %d ms", value * 2);
            } else {
                if ((value & 0x7F) != 0) {
                    step = Format(L"wait %d ms, ", (value & 0x7F) * 2);
                }
                step += ((value & 0x80) ? L"release " : L"press ") + UsageName(code);
            }
            if (steps.size() + step.size() > 80) {
                lines.push_back(steps);
                steps = L"   ";
            }
            steps += L" " + step + L";";
        }
        lines.push_back(steps);
    }
    return lines;
}

}  // namespace t30::vmouse
