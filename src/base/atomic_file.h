// Whole-file saves that never leave a half-written file behind: the new image goes to a temporary
// file beside the target, is flushed to disk and then replaces the target in one rename. A save
// that fails at any step leaves the old file exactly as it was.
#pragma once

#include <cstddef>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace t30 {

// One open file being written.
class FileSink {
  public:
    virtual ~FileSink() = default;
    virtual bool Write(const void* data, std::size_t size) = 0;
    virtual bool Flush() = 0;  // down to the disk, not just out of the process
    virtual bool Close() = 0;
};

// The file-system steps of a save, so tests can make any one of them fail.
class FileWriter {
  public:
    virtual ~FileWriter() = default;
    // Creates the file, or truncates an existing one; null on failure.
    virtual std::unique_ptr<FileSink> Create(const std::filesystem::path& path) = 0;
    // Moves `from` over `to` in one step, replacing `to` if it exists.
    virtual bool Replace(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    virtual void Remove(const std::filesystem::path& path) = 0;
};

// The platform's own file system (posix or Win32 implementation).
FileWriter& NativeFileWriter();

// Name of the temporary file a save of `target` writes first. It is fixed, so a file left by a
// save that was cut short is simply overwritten by the next one; nothing ever reads it.
std::filesystem::path TemporaryPathFor(const std::filesystem::path& target);

// Writes `bytes` as the new content of `target`, or leaves `target` untouched and returns false.
bool WriteFileAtomically(const std::filesystem::path& target, std::string_view bytes,
                         FileWriter& writer = NativeFileWriter());

// The whole file, or at most `limit` bytes from its start; nothing when it cannot be opened.
std::optional<std::string> ReadFileBytes(const std::filesystem::path& path,
                                         std::size_t limit = std::string::npos);

// True when the file exists and can be opened for both reading and writing.
bool CanOpenForUpdate(const std::filesystem::path& path);

}  // namespace t30
