// A file system that fails at one chosen step of a save (creating, each write, flushing, closing,
// replacing) and otherwise does the real thing. A failing write still puts half its bytes on disk,
// as a full disk would.
#pragma once

#include <filesystem>
#include <memory>

#include "base/atomic_file.h"

namespace t30::testing {

class FaultyWriter : public FileWriter {
  public:
    explicit FaultyWriter(int failAtStep) : failAt_(failAtStep) {}

    int steps() const { return steps_; }
    bool failed() const { return failAt_ > 0 && steps_ >= failAt_; }

    std::unique_ptr<FileSink> Create(const std::filesystem::path& path) override {
        if (Fails()) {
            return nullptr;
        }
        std::unique_ptr<FileSink> real = NativeFileWriter().Create(path);
        if (!real) {
            return nullptr;
        }
        return std::make_unique<Sink>(*this, std::move(real));
    }
    bool Replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
        return !Fails() && NativeFileWriter().Replace(from, to);
    }
    void Remove(const std::filesystem::path& path) override { NativeFileWriter().Remove(path); }

  private:
    class Sink : public FileSink {
      public:
        Sink(FaultyWriter& owner, std::unique_ptr<FileSink> real)
            : owner_(owner), real_(std::move(real)) {}
        bool Write(const void* data, std::size_t size) override {
            if (owner_.Fails()) {
                real_->Write(data, size / 2);
                return false;
            }
            return real_->Write(data, size);
        }
        bool Flush() override { return !owner_.Fails() && real_->Flush(); }
        bool Close() override {
            const bool fail = owner_.Fails();
            return real_->Close() && !fail;
        }

      private:
        FaultyWriter& owner_;
        std::unique_ptr<FileSink> real_;
    };

    bool Fails() { return ++steps_ == failAt_; }

    int failAt_;
    int steps_ = 0;
};

// A fresh, empty folder under the system's temporary folder, removed again at the end.
class TempFolder {
  public:
    TempFolder() {
        static int counter = 0;
        const auto base = std::filesystem::temp_directory_path();
        for (;;) {
            path_ =
                base / ("t30-test-" + std::to_string(Stamp()) + "-" + std::to_string(counter++));
            std::error_code ec;
            if (std::filesystem::create_directory(path_, ec)) {
                break;
            }
        }
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::filesystem::path operator/(const std::filesystem::path& name) const {
        return path_ / name;
    }

  private:
    static long long Stamp() {
        return static_cast<long long>(
            std::filesystem::file_time_type::clock::now().time_since_epoch().count());
    }
    std::filesystem::path path_;
};

}  // namespace t30::testing
