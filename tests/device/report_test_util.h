#pragma once

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace t30::test {

// "04 22 08" style, as the reports are written down by people.
inline std::vector<uint8_t> Hex(const std::string& text) {
    std::vector<uint8_t> out;
    unsigned v = 0;
    int n = 0;
    const char* p = text.c_str();
    while (std::sscanf(p, " %2x%n", &v, &n) == 1) {
        out.push_back(static_cast<uint8_t>(v));
        p += n;
    }
    return out;
}

template <typename Container>
std::string ToHex(const Container& bytes) {
    std::string s;
    char buf[4];
    for (uint8_t b : bytes) {
        std::snprintf(buf, sizeof buf, s.empty() ? "%02X" : " %02X", b);
        s += buf;
    }
    return s;
}

template <typename Container>
std::vector<uint8_t> Bytes(const Container& c) {
    return std::vector<uint8_t>(c.begin(), c.end());
}

}  // namespace t30::test
