// Diagnostic lines for a debugger: OutputDebugStringW on Windows, standard error elsewhere.
#pragma once

#include <string_view>

namespace t30 {

class DebugOutput {
  public:
    virtual ~DebugOutput() = default;
    virtual void Write(std::u16string_view line) = 0;
};

// The platform's debugger output.
DebugOutput& PlatformDebugOutput();

}  // namespace t30
