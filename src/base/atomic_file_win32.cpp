// Win32 file system: the replace is MoveFileExW, which swaps the files in one step and, with
// MOVEFILE_WRITE_THROUGH, returns only once the move is on disk.
#include <windows.h>

#include "base/atomic_file.h"

namespace t30 {
namespace {

class Win32Sink : public FileSink {
  public:
    explicit Win32Sink(HANDLE file) : file_(file) {}
    ~Win32Sink() override { Close(); }

    bool Write(const void* data, std::size_t size) override {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            const DWORD want = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
            DWORD done = 0;
            if (!WriteFile(file_, p, want, &done, nullptr) || done == 0) {
                return false;
            }
            p += done;
            size -= done;
        }
        return true;
    }
    bool Flush() override { return FlushFileBuffers(file_) != 0; }
    bool Close() override {
        if (file_ == INVALID_HANDLE_VALUE) {
            return true;
        }
        const HANDLE file = file_;
        file_ = INVALID_HANDLE_VALUE;
        return CloseHandle(file) != 0;
    }

  private:
    HANDLE file_;
};

class Win32Writer : public FileWriter {
  public:
    std::unique_ptr<FileSink> Create(const std::filesystem::path& path) override {
        const HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            return nullptr;
        }
        return std::make_unique<Win32Sink>(file);
    }
    bool Replace(const std::filesystem::path& from, const std::filesystem::path& to) override {
        return MoveFileExW(from.c_str(), to.c_str(),
                           MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
    }
    void Remove(const std::filesystem::path& path) override { DeleteFileW(path.c_str()); }
};

}  // namespace

FileWriter& NativeFileWriter() {
    static Win32Writer writer;
    return writer;
}

}  // namespace t30
