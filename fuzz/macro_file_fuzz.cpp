// Macro exchange files as the user picks them: any bytes, scrambled or plain. Import must either
// add one repaired entry with a free name or change nothing; the scramble transform must undo
// itself exactly.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "base/atomic_file.h"
#include "base/fixed_string.h"
#include "fuzz_support.h"
#include "macro/macro_file.h"
#include "macro/macro_library.h"

using namespace t30;

namespace {

class SilentDebug : public DebugOutput {
  public:
    void Write(std::u16string_view) override {}
};

int FixedRandom() {
    return 77;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const auto& folder = fuzz::TempFolder();
    const auto path = folder / "input.macro";
    const std::string original(reinterpret_cast<const char*>(data), size);
    SilentDebug debug;
    const MacroFileServices services{nullptr, &debug, &FixedRandom};

    // Import into a library that already holds a few names the file may collide with.
    MacroLibrary library;
    MacroRecord existing{};
    SetFixed(existing.name, u"Macro");
    library.Append(existing);
    SetFixed(existing.name, u"Macro_1");
    library.Append(existing);
    fuzz::PutFile(path, data, size);
    const std::optional<std::size_t> index = ImportMacroFile(library, path, services);
    if (index) {
        T30_FUZZ_CHECK(*index == 2 && library.size() == 3);
        const MacroRecord& added = library[*index];
        T30_FUZZ_CHECK(added.eventCount >= 0 && added.eventCount <= kMaxMacroEvents);
        const std::u16string_view name = FixedView(added.name);
        T30_FUZZ_CHECK(name.size() < kMacroNameLength);
        for (std::size_t i = 0; i < 2; ++i) {
            T30_FUZZ_CHECK(!MacroNamesEqual(TrimMacroName(FixedView(library[i].name)), name));
        }
    } else {
        T30_FUZZ_CHECK(library.size() == 2);
    }

    // Unscrambling a fresh copy either leaves it alone or takes the trailer off.
    fuzz::PutFile(path, data, size);
    const bool unscrambled = UnscrambleMacroFile(path, services);
    const std::optional<std::string> after = ReadFileBytes(path);
    T30_FUZZ_CHECK(after.has_value());
    if (unscrambled) {
        T30_FUZZ_CHECK(size >= kScrambleTrailerSize &&
                       after->size() == size - kScrambleTrailerSize);
    } else {
        T30_FUZZ_CHECK(*after == original);
    }

    // Scrambling then unscrambling gives back the very bytes.
    fuzz::PutFile(path, data, size);
    T30_FUZZ_CHECK(ScrambleMacroFile(path, services));
    T30_FUZZ_CHECK(UnscrambleMacroFile(path, services));
    T30_FUZZ_CHECK(ReadFileBytes(path).value() == original);
    return 0;
}
