#include "base/atomic_file.h"

#include <algorithm>
#include <fstream>

namespace t30 {

std::filesystem::path TemporaryPathFor(const std::filesystem::path& target) {
    std::filesystem::path temp = target;
    temp += ".tmp";
    return temp;
}

bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         FileWriter& writer) {
    const std::filesystem::path temp = TemporaryPathFor(target);
    std::unique_ptr<FileSink> sink = writer.Create(temp);
    if (!sink) {
        return false;
    }
    // Written in pieces so a full disk shows up at the piece that does not fit.
    constexpr std::size_t kChunk = 64 * 1024;
    bool ok = true;
    for (std::size_t at = 0; ok && at < bytes.size(); at += kChunk) {
        const std::size_t n = std::min(kChunk, bytes.size() - at);
        ok = sink->Write(bytes.data() + at, n);
    }
    ok = ok && sink->Flush();
    ok = sink->Close() && ok;
    sink.reset();
    ok = ok && writer.Replace(temp, target);
    if (!ok) {
        writer.Remove(temp);
    }
    return ok;
}

std::optional<std::string> ReadFileBytes(const std::filesystem::path& path, std::size_t limit) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return std::nullopt;
    }
    std::string bytes;
    char buffer[64 * 1024];
    while (bytes.size() < limit) {
        const std::size_t want = std::min(sizeof buffer, limit - bytes.size());
        in.read(buffer, static_cast<std::streamsize>(want));
        const std::streamsize got = in.gcount();
        if (got <= 0) {
            break;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
    }
    if (in.bad()) {
        return std::nullopt;
    }
    return bytes;
}

bool CanOpenForUpdate(const std::filesystem::path& path) {
    std::fstream file(path, std::ios::in | std::ios::out | std::ios::binary);
    return static_cast<bool>(file);
}

}  // namespace t30
