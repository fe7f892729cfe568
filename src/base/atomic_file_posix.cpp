// Posix file system for the portable build (tests and tools).
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "base/atomic_file.h"

namespace t30 {
namespace {

class PosixSink : public FileSink {
  public:
    explicit PosixSink(int fd) : fd_(fd) {}
    ~PosixSink() override { Close(); }

    bool Write(const void* data, std::size_t size) override {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t n = ::write(fd_, p, size);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            p += n;
            size -= static_cast<std::size_t>(n);
        }
        return true;
    }
    bool Flush() override { return ::fsync(fd_) == 0; }
    bool Close() override {
        if (fd_ < 0) {
            return true;
        }
        const int fd = fd_;
        fd_ = -1;
        return ::close(fd) == 0;
    }

  private:
    int fd_;
};

class PosixWriter : public FileWriter {
  public:
    std::unique_ptr<FileSink> Create(const std::filesystem::path& path) override {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (fd < 0) {
            return nullptr;
        }
        return std::make_unique<PosixSink>(fd);
    }
    bool Replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
        if (std::rename(from.c_str(), to.c_str()) != 0) {
            return false;
        }
        // Make the rename itself durable.
        std::filesystem::path dir = to.parent_path();
        if (dir.empty()) {
            dir = ".";
        }
        const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (fd >= 0) {
            ::fsync(fd);
            ::close(fd);
        }
        return true;
    }
    void Remove(const std::filesystem::path& path) override { ::unlink(path.c_str()); }
};

}  // namespace

FileWriter& NativeFileWriter() {
    static PosixWriter writer;
    return writer;
}

}  // namespace t30
