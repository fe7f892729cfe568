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

    std::vector<uint8_t> buffer(5000);
    std::vector<uint8_t> second(5000);
    for (const Query& q : kQueries) {
        const std::u16string value = file.ReadString(q.section, q.key, u"\x1 absent");
        T30_FUZZ_CHECK(value.size() <= IniFile::kMaxValueLength);
        T30_FUZZ_CHECK(again.ReadString(q.section, q.key, u"\x1 absent") == value);
        for (std::size_t n : kStructSizes) {
            std::memset(buffer.data(), 0x5A, buffer.size());
            const bool ok = file.ReadStruct(q.section, q.key, buffer.data(), n);
            if (!ok) {
                // A failed read leaves the buffer as it was.
                for (std::size_t i = 0; i < n; ++i) {
                    T30_FUZZ_CHECK(buffer[i] == 0x5A);
                }
            }
            std::memset(second.data(), 0x5A, second.size());
            T30_FUZZ_CHECK(again.ReadStruct(q.section, q.key, second.data(), n) == ok);
            T30_FUZZ_CHECK(std::memcmp(buffer.data(), second.data(), n) == 0);
            // Nothing beyond the block is touched.
            for (std::size_t i = n; i < buffer.size(); ++i) {
                T30_FUZZ_CHECK(buffer[i] == 0x5A);
            }
        }
    }
    return 0;
}
