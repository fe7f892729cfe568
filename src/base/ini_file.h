// Initialisation files in the layout of the platform's private-profile files: sections in square
// brackets, "key=value" lines, CR LF line ends. Read the way GetPrivateProfileStringW and
// GetPrivateProfileStructW read them, so skin files and macro files behave the same whether the
// platform or this class looks at them, and written so the platform reads what we write.
//
// Text encoding: the file is 8-bit text and each byte is one character, mapped as Latin-1 (byte
// value = UTF-16 code unit). The platform maps bytes 0x80..0x9F through the system code page
// instead, so files meant for both should keep to ASCII there. A file that starts with the UTF-8
// byte-order mark is read as UTF-8 instead (as the platform does), and keeps its mark when written.
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/atomic_file.h"

namespace t30 {

class IniFile {
  public:
    // Longest value ReadString returns, as through the platform's 4096-character buffer.
    static constexpr std::size_t kMaxValueLength = 4095;

    // Reads and parses the file once; a missing or unreadable file behaves as an empty one.
    explicit IniFile(std::filesystem::path path);
    static IniFile FromText(std::string_view bytes);  // parse from memory (tests, fuzzing)
    // An empty file bound to `path`, whatever is on disk there now: the first write replaces the
    // old file as a whole.
    static IniFile Blank(std::filesystem::path path);

    // Value of key in section (both without regard to ASCII case), surrounding blanks and one pair
    // of surrounding quotes removed, cut to 4095 characters; `def` when absent.
    std::u16string ReadString(std::u16string_view section, std::u16string_view key,
                              std::u16string_view def) const;
    // Checksummed block in the platform's private-profile format: upper-case hex of each byte then
    // one checksum byte (sum mod 256). False (buffer untouched) on absence, wrong length, bad hex,
    // bad checksum.
    bool ReadStruct(std::u16string_view section, std::u16string_view key, void* buffer,
                    std::size_t size) const;
    // Sets the entry and rewrites the file (atomically: on failure the old file stays as it was
    // and this object keeps its previous content). An IniFile made by FromText has no file and
    // returns false.
    bool WriteStruct(std::u16string_view section, std::u16string_view key, const void* buffer,
                     std::size_t size);

    // The file's bytes as they would be written now.
    std::string Text() const;
    const std::filesystem::path& path() const { return path_; }
    // Where writes go; the platform's file system unless a test says otherwise.
    void SetWriter(FileWriter& writer) { writer_ = &writer; }

  private:
    enum class LineKind { kOther, kSection, kEntry };
    struct Line {
        std::string raw;  // as in the file, without its line end
        LineKind kind;
        std::u16string name;   // section name or key, trimmed
        std::u16string value;  // entries: value, trimmed (quotes kept)
    };

    IniFile() = default;
    void Parse(std::string_view bytes);
    Line MakeLine(std::string raw) const;
    std::u16string Decode(std::string_view bytes) const;
    std::string Encode(std::u16string_view text) const;
    // Index of the first entry line for key in the first section called `section`, or -1.
    long FindEntry(std::u16string_view section, std::u16string_view key) const;

    std::filesystem::path path_;
    bool utf8_ = false;
    std::vector<Line> lines_;
    FileWriter* writer_ = nullptr;
};

}  // namespace t30
