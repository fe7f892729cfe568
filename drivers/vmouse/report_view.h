// Words for what the virtual mouse holds, decoded from the feature reports it received.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

namespace t30::vmouse {

struct HeldReports {
    std::vector<uint8_t> dpi, lighting, rate, buttons;
    std::map<int, std::vector<uint8_t>> macros;  // by 1-based slot number

    void Take(const std::vector<uint8_t>& report);
};

// Name of a button function code, from the language library when there is one.
using FunctionName = std::function<std::wstring(int code)>;

std::vector<std::wstring> Describe(const HeldReports& held, const FunctionName& name);
std::wstring UsageName(int usage);

}  // namespace t30::vmouse
