#include <cstdio>

#include "base/debug_output.h"

namespace t30 {
namespace {

class StderrOutput : public DebugOutput {
  public:
    void Write(std::u16string_view line) override {
        // The program's own lines are ASCII; anything else shows as '?'.
        for (const char16_t c : line) {
            std::fputc(c < 0x80 ? static_cast<int>(c) : '?', stderr);
        }
    }
};

}  // namespace

DebugOutput& PlatformDebugOutput() {
    static StderrOutput output;
    return output;
}

}  // namespace t30
