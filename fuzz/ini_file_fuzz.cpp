// Private-profile text from a file: any bytes. Values and checksummed hex blocks are read the way
// macro files and skin files are read, and the text the class would write back must read the same.
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "base/ini_file.h"
#include "fuzz_support.h"

using namespace t30;

namespace {

struct Query {
    std::u16string_view section;
    std::u16string_view key;
};
// The macro file's entry, its case variants, blanks and empty names.
constexpr std::array<Query, 6> kQueries = {{
    {u"Macros", u"0"},
    {u"MACROS", u"0"},
    {u"macros", u"00"},
    {u"", u""},
    {u"Macros", u""},
    {u" Macros ", u" 0 "},
}};
constexpr std::array<std::size_t, 6> kStructSizes = {0, 1, 2, 4, 220, 5000};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const IniFile file = IniFile::FromText(text);
    const IniFile again = IniFile::FromText(file.Text());

    for (const Query& q : kQueries) {
        const std::u16string value = file.ReadString(q.section, q.key, u"\x1 absent");
        T30_FUZZ_CHECK(value.size() <= IniFile::kMaxValueLength);
        T30_FUZZ_CHECK(again.ReadString(q.section, q.key, u"\x1 absent") == value);
        for (std::size_t n : kStructSizes) {
            // Exactly n bytes on the heap, so ASan stops a write past the block.
            const std::vector<uint8_t> untouched(n, 0x5A);
            std::vector<uint8_t> buffer = untouched;
            std::vector<uint8_t> second = untouched;
            const bool ok = file.ReadStruct(q.section, q.key, buffer.data(), n);
            // A failed read leaves the buffer as it was.
            T30_FUZZ_CHECK(ok || buffer == untouched);
            T30_FUZZ_CHECK(again.ReadStruct(q.section, q.key, second.data(), n) == ok);
            T30_FUZZ_CHECK(buffer == second);
        }
    }
    return 0;
}
