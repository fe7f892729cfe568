// The registry of the current user and the system parameters behind the pointer-settings
// interfaces.
#pragma once

#include "host/pointer_settings.h"

namespace t30 {

class Win32Registry final : public RegistryAccess {
  public:
    std::unique_ptr<RegistryKey> openOrCreate(std::u16string_view path) override;
};

class Win32PointerSystem final : public PointerSystem {
  public:
    void setDoubleClickTime(int ms) override;
    void setSystemDoubleClickTime(int ms) override;
    void setMouse(const PrecisionArray& values) override;
    void setMouseSpeed(int speed) override;
    void setWheelScrollLines(int lines) override;
};

}  // namespace t30
