// Shared by the harnesses: a temporary folder of this process for the readers that only take a
// path, and a check that stops the run with a message libFuzzer reports as a crash.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include <unistd.h>

namespace t30::fuzz {

// Created on first use under the system's temporary folder, named after the process so parallel
// runs never share it, and removed when the process ends normally.
inline const std::filesystem::path& TempFolder() {
    static const std::filesystem::path folder = [] {
        const auto path = std::filesystem::temp_directory_path() /
                          ("t30-fuzz-" + std::to_string(static_cast<long>(getpid())));
        std::filesystem::create_directories(path);
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(TempFolder(), ec);
        });
        return path;
    }();
    return folder;
}

// Replaces `path` with exactly these bytes.
inline void PutFile(const std::filesystem::path& path, const uint8_t* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    if (!out) {
        std::fprintf(stderr, "fuzz: cannot write %s\n", path.string().c_str());
        std::abort();
    }
}

#define T30_FUZZ_CHECK(condition)                                                         \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, \
                         __LINE__);                                                       \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)

}  // namespace t30::fuzz
