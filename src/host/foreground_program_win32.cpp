#include "host/foreground_program_win32.h"

#include <tlhelp32.h>

namespace t30 {
namespace {

std::u16string FromWide(const wchar_t* text) {
    std::u16string result;
    for (; *text; ++text) {
        result.push_back(char16_t(*text));
    }
    return result;
}

// Closes a kernel handle when it goes out of scope.
class Handle {
  public:
    explicit Handle(HANDLE h) : h_(h == INVALID_HANDLE_VALUE ? nullptr : h) {}
    ~Handle() {
        if (h_) {
            CloseHandle(h_);
        }
    }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE get() const { return h_; }
    explicit operator bool() const { return h_ != nullptr; }

  private:
    HANDLE h_;
};

}  // namespace

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
    Handle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, processId));
    if (!process) {
        return std::nullopt;
    }
    wchar_t path[MAX_PATH * 4];
    DWORD size = DWORD(std::size(path));
    if (!QueryFullProcessImageNameW(process.get(), 0, path, &size)) {
        return std::nullopt;
    }
    path[size] = L'\0';
    return std::u16string(ProgramFileName(FromWide(path)));
}

std::optional<std::u16string> ImageNameBySnapshot(DWORD processId) {
    Handle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot) {
        return std::nullopt;
    }
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32FirstW(snapshot.get(), &entry); more;
         more = Process32NextW(snapshot.get(), &entry)) {
        if (entry.th32ProcessID == processId) {
            // Already the bare file name; the cut only guards against a system that gives more.
            return std::u16string(ProgramFileName(FromWide(entry.szExeFile)));
        }
    }
    return std::nullopt;
}

std::optional<std::u16string> Win32ForegroundProgram::executableName() {
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
