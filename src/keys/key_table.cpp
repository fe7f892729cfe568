#include "keys/key_table.h"

#include "base/fixed_string.h"

namespace t30 {
namespace {

template <typename Match>
const KeyRow* FirstRow(Match match) {
    for (const KeyRow& row : KeyTable) {
        if (match(row)) {
            return &row;
        }
    }
    return nullptr;
}

}  // namespace

const KeyRow* FindKeyByUsage(int usage) {
    return FirstRow([usage](const KeyRow& row) { return row.usage == usage; });
}

const KeyRow* FindKeyByVirtualKey(int virtualKey) {
    return FirstRow([virtualKey](const KeyRow& row) { return row.virtualKey == virtualKey; });
}

const KeyRow* FindKeyByScanCode(int scanCode) {
    // Rows without a scan code hold 0, which is also what a layout answers for "no such key";
    // that answer must not land on the first of them (Print Screen).
    if (scanCode == 0) {
        return nullptr;
    }
    return FirstRow([scanCode](const KeyRow& row) { return row.scanCode == scanCode; });
}

std::u16string GetKeyName(int virtualKey) {
    if (virtualKey < 0 || virtualKey >= static_cast<int>(kVirtualKeyCount)) {
        return {};
    }
    return Widen(KeyNameTable[static_cast<std::size_t>(virtualKey)]);
}

}  // namespace t30
