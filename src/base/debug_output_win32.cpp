#include <windows.h>

#include <string>

#include "base/debug_output.h"

namespace t30 {
namespace {

class DebuggerOutput : public DebugOutput {
  public:
    void Write(std::u16string_view line) override {
        const std::wstring text(line.begin(), line.end());
        OutputDebugStringW(text.c_str());
    }
};

}  // namespace

DebugOutput& PlatformDebugOutput() {
    static DebuggerOutput output;
    return output;
}

}  // namespace t30
