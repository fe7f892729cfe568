// The executable of the program that owns the foreground window, found two ways: by asking the
// process for its image name, or by walking a snapshot of all processes. Both give the file name
// and extension only.
#pragma once

#include <windows.h>

#include "host/program_switch.h"

namespace t30 {

// The process id behind the foreground window; 0 when there is none.
DWORD ForegroundProcessId();

// Asks the process itself (QueryFullProcessImageNameW); nothing when it cannot be opened.
std::optional<std::u16string> ImageNameByQuery(DWORD processId);
// Walks a process snapshot to the process's entry.
std::optional<std::u16string> ImageNameBySnapshot(DWORD processId);

// What the switching timer uses: the direct query, and the snapshot for a process that refuses
// to be opened (one running with higher rights than ours).
class Win32ForegroundProgram final : public ForegroundProgram {
  public:
    std::optional<std::u16string> ExecutableName() override;
};

}  // namespace t30
