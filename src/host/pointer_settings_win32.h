// The registry of the current user and the system parameters behind the pointer-settings
// interfaces.
#pragma once

#include "host/pointer_settings.h"

namespace t30 {

class Win32Registry final : public RegistryAccess {
  public:
    std::unique_ptr<RegistryKey> OpenOrCreate(std::u16string_view path) override;
};

class Win32PointerSystem final : public PointerSystem {
  public:
    void SetDoubleClickTime(int ms) override;
    void SetSystemDoubleClickTime(int ms) override;
    void SetMouse(const PrecisionArray& values) override;
    void SetMouseSpeed(int speed) override;
    void SetWheelScrollLines(int lines) override;
};

}  // namespace t30
