#include "macro/macro_file.h"

#include <cstdlib>
#include <cstring>
#include <string>

#include "base/fixed_string.h"
#include "base/ini_file.h"

namespace t30 {
namespace {

// The key's ingredients. Changing either makes every file scrambled before unreadable as such
// (it would then be taken for a plain file).
constexpr uint32_t kSeedConstant = 0x5EC7A30Du;
constexpr char16_t kSeedText[] = u"T30k7Mqz";
constexpr std::size_t kSeedLength = 8;
static_assert(sizeof kSeedText / sizeof kSeedText[0] == kSeedLength + 1);

constexpr char kMarker[] = "qmvhrkpd";  // with its terminating zero: trailer bytes 0..8
constexpr std::size_t kMarkerSize = sizeof kMarker;
static_assert(kMarkerSize == 9);

// An exported file is under 500 bytes; anything far larger is not one, and is not read into memory.
constexpr std::uintmax_t kMaxMacroFileSize = 1 << 20;

// The debugger lines of a failed unscramble: the file would not open, or it holds no marker.
constexpr char16_t kDebugOpenFailed[] = u"file->Open\r\n";
constexpr char16_t kDebugNoMarker[] = u"lstrcmp love, qmvhrkpd\r\n";

constexpr char16_t kSection[] = u"Macros";
constexpr char16_t kKey[] = u"0";  // the number 0 formatted with "%d"

FileWriter& WriterOf(const MacroFileServices& s) {
    return s.writer ? *s.writer : NativeFileWriter();
}
DebugOutput& DebugOf(const MacroFileServices& s) {
    return s.debug ? *s.debug : PlatformDebugOutput();
}
int RandomOf(const MacroFileServices& s) {
    return s.random ? s.random() : std::rand();
}

// Turns a scrambled image back into the plain one; false (bytes untouched) when the trailer does
// not carry the marker.
bool Unscramble(std::string& bytes) {
    const uint8_t key = DeriveKeyByte();
    if (bytes.size() < kScrambleTrailerSize) {
        return false;
    }
    for (std::size_t i = 0; i < kMarkerSize; ++i) {
        const auto b = static_cast<uint8_t>(bytes[bytes.size() - kScrambleTrailerSize + i]);
        if ((b ^ key) != static_cast<uint8_t>(kMarker[i])) {
            return false;
        }
    }
    bytes.resize(bytes.size() - kScrambleTrailerSize);
    const auto lengthByte = static_cast<uint8_t>(bytes.size() & 0xFF);
    for (char& b : bytes) {
        b = static_cast<char>(static_cast<uint8_t>(b) ^ lengthByte ^ key);
    }
    return true;
}

}  // namespace

uint8_t DeriveKeyByte() {
    uint32_t accumulator = kSeedConstant;
    for (std::size_t i = 0; i < kSeedLength; ++i) {
        accumulator ^= static_cast<uint32_t>(kSeedText[i]) | 0x80u;
    }
    return static_cast<uint8_t>(accumulator & 0xFF);
}

bool ScrambleMacroFile(const std::filesystem::path& path, const MacroFileServices& services) {
    const uint8_t key = DeriveKeyByte();
    if (!CanOpenForUpdate(path)) {
        return false;
    }
    std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) {
        return false;
    }
    const auto lengthByte = static_cast<uint8_t>(bytes->size() & 0xFF);
    for (char& b : *bytes) {
        b = static_cast<char>(static_cast<uint8_t>(b) ^ key ^ lengthByte);
    }
    char trailer[kScrambleTrailerSize];
    for (std::size_t i = 0; i < kMarkerSize; ++i) {
        trailer[i] = static_cast<char>(static_cast<uint8_t>(kMarker[i]) ^ key);
    }
    const int r = ((RandomOf(services) % 199) + 199) % 199;
    trailer[kMarkerSize] = static_cast<char>(r);
    for (std::size_t i = 0; i < kSeedLength; ++i) {
        trailer[kMarkerSize + 1 + i] = static_cast<char>((kSeedText[i] & 0xFF) ^ r);
    }
    bytes->append(trailer, sizeof trailer);
    return WriteFileAtomically(path, *bytes, WriterOf(services));
}

bool UnscrambleMacroFile(const std::filesystem::path& path, const MacroFileServices& services) {
    std::optional<std::string> bytes;
    if (CanOpenForUpdate(path)) {
        bytes = ReadFileBytes(path);
    }
    if (!bytes) {
        DebugOf(services).Write(kDebugOpenFailed);
        return false;
    }
    if (!Unscramble(*bytes)) {
        DebugOf(services).Write(kDebugNoMarker);
        return false;
    }
    return WriteFileAtomically(path, *bytes, WriterOf(services));
}

bool ExportMacroFile(const MacroRecord& record, const std::filesystem::path& path,
                     const MacroFileServices& services) {
    MacroRecord copy = record;
    copy.locked = 1;
    // Built from nothing: the new file replaces the old one whole, and only once it is complete.
    IniFile file = IniFile::Blank(path);
    file.SetWriter(WriterOf(services));
    if (!file.WriteStruct(kSection, kKey, &copy, sizeof copy)) {
        return false;
    }
    return ScrambleMacroFile(path, services);
}

std::optional<std::size_t> ImportMacroFile(MacroLibrary& library, const std::filesystem::path& path,
                                           const MacroFileServices& services) {
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > kMaxMacroFileSize) {
        return std::nullopt;
    }
    std::optional<std::string> bytes = ReadFileBytes(path);
    if (!bytes) {
        return std::nullopt;
    }
    // The file is left plain on disk where it can be rewritten; the record is read from the bytes
    // in hand either way, so a read-only file imports too.
    UnscrambleMacroFile(path, services);
    Unscramble(*bytes);
    MacroRecord record;
    if (!IniFile::FromText(*bytes).ReadStruct(kSection, kKey, &record, sizeof record)) {
        return std::nullopt;
    }
    RepairMacroRecord(record);
    const std::u16string name = UniqueMacroName(library, FixedView(record.name));
    if (name != FixedView(record.name)) {
        SetFixed(record.name, name);
    }
    return library.Append(record);
}

}  // namespace t30
