#include "host/pointer_settings_win32.h"

#include <windows.h>

#include <cstring>
#include <string>

#include "base/unique_handle_win32.h"
#include "base/wide_text.h"

namespace t30 {
namespace {

constexpr UINT kUpdateFlags = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;

class Win32RegistryKey final : public RegistryKey {
  public:
    explicit Win32RegistryKey(HKEY key) : key_(key) {}

    std::optional<std::u16string> ReadText(std::u16string_view name) override {
        // 260 bytes, as much as any of these values ever holds; a longer value is unreadable.
        BYTE data[260];
        DWORD type = 0;
        DWORD size = sizeof data;
        if (RegQueryValueExW(key_.Get(), ToWide(name).c_str(), nullptr, &type, data, &size) !=
            ERROR_SUCCESS) {
            return std::nullopt;
        }
        if (type == REG_SZ || type == REG_EXPAND_SZ) {
            // The stored text need not end in NUL; stop at the first one or at the data's end.
            std::u16string text;
            for (DWORD i = 0; i + 1 < size; i += 2) {
                const char16_t c = char16_t(data[i] | (data[i + 1] << 8));
                if (c == 0) {
                    break;
                }
                text.push_back(c);
            }
            return text;
        }
        if (type == REG_DWORD && size == sizeof(DWORD)) {
            // Some tools store these as numbers; their decimal text means the same.
            DWORD value = 0;
            std::memcpy(&value, data, sizeof value);
            const std::string digits = std::to_string(int32_t(value));
            return Widen(digits);
        }
        return std::nullopt;
    }

  private:
    RegistryKeyHandle key_;
};

}  // namespace

std::unique_ptr<RegistryKey> Win32Registry::OpenOrCreate(std::u16string_view path) {
    const std::wstring wide = ToWide(path);
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS &&
        RegCreateKeyExW(HKEY_CURRENT_USER, wide.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &key, nullptr) != ERROR_SUCCESS) {
        return nullptr;
    }
    return std::make_unique<Win32RegistryKey>(key);
}

void Win32PointerSystem::SetDoubleClickTime(int ms) {
    ::SetDoubleClickTime(UINT(ms));
}

void Win32PointerSystem::SetSystemDoubleClickTime(int ms) {
    SystemParametersInfoW(SPI_SETDOUBLECLICKTIME, UINT(ms), nullptr, kUpdateFlags);
}

void Win32PointerSystem::SetMouse(const PrecisionArray& values) {
    int array[3] = {values[0], values[1], values[2]};
    SystemParametersInfoW(SPI_SETMOUSE, 0, array, kUpdateFlags);
}

void Win32PointerSystem::SetMouseSpeed(int speed) {
    // Windows takes the speed from the pointer argument itself, Wine from the integer one; each
    // ignores the other argument, so both carry it.
    SystemParametersInfoW(SPI_SETMOUSESPEED, UINT(speed),
                          reinterpret_cast<void*>(static_cast<INT_PTR>(speed)), kUpdateFlags);
}

void Win32PointerSystem::SetWheelScrollLines(int lines) {
    SystemParametersInfoW(SPI_SETWHEELSCROLLLINES, UINT(lines),
                          reinterpret_cast<void*>(static_cast<INT_PTR>(lines)), kUpdateFlags);
}

}  // namespace t30
