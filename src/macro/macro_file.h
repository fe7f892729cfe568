// Single-macro exchange files (extension macro): a private-profile entry "0" in section "Macros"
// holding the 220-byte record as checksummed hex, then scrambled with a one-byte key and marked by
// an 18-byte trailer. Every rewrite of the file replaces it in one step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <optional>

#include "base/atomic_file.h"
#include "base/debug_output.h"
#include "macro/macro_library.h"

namespace t30 {

constexpr std::size_t kScrambleTrailerSize = 18;

// Platform services the macro files use; null members mean the platform's own.
struct MacroFileServices {
    FileWriter* writer = nullptr;
    DebugOutput* debug = nullptr;
    int (*random)() = nullptr;  // trailer byte 9 source; the runtime's rand() by default
};

// The transform's key byte, derived from the fixed seed text and seed constant.
uint8_t DeriveKeyByte();

// XORs every byte with the key and the file length and appends the trailer. False, file
// unchanged, when the file cannot be opened for update or rewritten.
bool ScrambleMacroFile(const std::filesystem::path& path, const MacroFileServices& services = {});

// Undoes ScrambleMacroFile when the trailer carries the marker, leaving the plain form on disk.
// False, file unchanged, otherwise (a file shorter than the trailer carries no marker).
bool UnscrambleMacroFile(const std::filesystem::path& path, const MacroFileServices& services = {});

// Writes a locked copy of `record` as a plain macro file replacing whatever `path` held, then
// scrambles it. True when the scrambled file is in place; false when the plain file could not be
// written (old file untouched) or could not be scrambled (the plain form stays, still importable).
bool ExportMacroFile(const MacroRecord& record, const std::filesystem::path& path,
                     const MacroFileServices& services = {});

// Reads a macro file, scrambled or plain (a scrambled file is left plain on disk), repairs the
// record (RepairMacroRecord), gives it a free name and appends it. Returns the new entry's index;
// nothing when the file cannot be read, is larger than 1 MiB (an export is under 500 bytes) or
// holds no valid entry (no section or key, wrong length, bad hex or bad checksum), in which case
// the library and the file are unchanged.
std::optional<std::size_t> ImportMacroFile(MacroLibrary& library, const std::filesystem::path& path,
                                           const MacroFileServices& services = {});

}  // namespace t30
