// The recorder's key lookup answered by the key table and the user's keyboard layout.
#pragma once

#include "host/macro_recorder.h"
#include "keys/key_conversion.h"

namespace t30 {

class KeyTableUsageMap final : public KeyUsageMap {
  public:
    explicit KeyTableUsageMap(const KeyboardLayout& layout) : layout_(layout) {}
    std::optional<uint8_t> UsageForVirtualKey(uint32_t virtualKey) override {
        return virtualKey > 0xFF ? std::nullopt : VirtualKeyToUsage(int(virtualKey), layout_);
    }

  private:
    const KeyboardLayout& layout_;
};

}  // namespace t30
