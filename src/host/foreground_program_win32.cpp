#include "host/foreground_program_win32.h"

#include <tlhelp32.h>

#include "base/unique_handle_win32.h"
#include "base/wide_text.h"

namespace t30 {
DWORD ForegroundProcessId() {
    HWND window = GetForegroundWindow();
    if (!window) {
        return 0;
    }
    DWORD processId = 0;
    GetWindowThreadProcessId(window, &processId);
    return processId;
}

std::optional<std::u16string> ImageNameByQuery(DWORD processId) {
    const KernelHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) {
        return std::nullopt;
    }
    wchar_t path[MAX_PATH * 4];
    DWORD size = DWORD(std::size(path));
    if (!QueryFullProcessImageNameW(process.Get(), 0, path, &size)) {
        return std::nullopt;
    }
    path[size] = L'\0';
    return std::u16string(ProgramFileName(ToU16(path)));
}

std::optional<std::u16string> ImageNameBySnapshot(DWORD processId) {
    const KernelHandle snapshot = OwnKernelHandle(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return std::nullopt;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more;
         more = Process32NextW(snapshot.Get(), &entry)) {
        if (entry.th32ProcessID == processId) {
            // Already the bare file name; the cut only guards against a system that gives more.
            return std::u16string(ProgramFileName(ToU16(entry.szExeFile)));
        }
    }
    return std::nullopt;
}

std::optional<std::u16string> Win32ForegroundProgram::ExecutableName() {
    const DWORD processId = ForegroundProcessId();
    if (processId == 0) {
        return std::nullopt;
    }
    if (auto name = ImageNameByQuery(processId)) {
        return name;
    }
    return ImageNameBySnapshot(processId);
}

}  // namespace t30
