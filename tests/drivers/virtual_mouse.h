// vmouse.exe run from a test under Wine: its commands, and the server the simulated driver
// libraries talk to. The including target defines T30_VMOUSE, the build path of vmouse.exe.
#pragma once

#include <windows.h>

#include <string>

#ifndef T30_VMOUSE
#error "T30_VMOUSE (the path of vmouse.exe) is not defined"
#endif

namespace t30::test {

// Build paths arrive as Unix paths; Wine shows the Unix root as drive Z:.
inline std::wstring WinPath(const char* unixPath) {
    std::wstring p = L"Z:";
    for (const char* c = unixPath; *c; ++c) {
        p += *c == '/' ? L'\\' : static_cast<wchar_t>(*c);
    }
    return p;
}

struct RunResult {
    DWORD exitCode = 0xFFFFFFFF;
    std::string output;
};

// Runs vmouse.exe with `args`, waits, and returns its exit code and standard output.
inline RunResult RunVmouse(const std::wstring& args) {
    SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
    HANDLE readEnd = nullptr, writeEnd = nullptr;
    CreatePipe(&readEnd, &writeEnd, &sa, 0);
    SetHandleInformation(readEnd, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si{};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    PROCESS_INFORMATION pi{};
    std::wstring cmd = L"\"" + WinPath(T30_VMOUSE) + L"\" " + args;
    RunResult result;
    if (CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr,
                       nullptr, &si, &pi)) {
        CloseHandle(writeEnd);
        char buf[4096];
        DWORD n = 0;
        while (ReadFile(readEnd, buf, sizeof buf, &n, nullptr) && n > 0) {
            result.output.append(buf, n);
        }
        WaitForSingleObject(pi.hProcess, 10000);
        GetExitCodeProcess(pi.hProcess, &result.exitCode);
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    } else {
        CloseHandle(writeEnd);
    }
    CloseHandle(readEnd);
    return result;
}

inline bool VirtualMouseServing() {
    return FindWindowExW(HWND_MESSAGE, nullptr, L"T30VirtualMouseServer", nullptr) != nullptr;
}

// `vmouse.exe serve` for the life of the object; Serving() once its message window is up.
class VirtualMouseServer {
  public:
    VirtualMouseServer() {
        STARTUPINFOW si{};
        si.cb = sizeof si;
        std::wstring cmd = L"\"" + WinPath(T30_VMOUSE) + L"\" serve";
        if (!CreateProcessW(nullptr, cmd.data(), nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                            nullptr, &si, &process_)) {
            process_ = {};
            return;
        }
        for (int i = 0; i < 250 && !VirtualMouseServing(); ++i) {
            Sleep(20);
        }
    }
    ~VirtualMouseServer() {
        if (process_.hProcess != nullptr) {
            RunVmouse(L"quit");
            WaitForSingleObject(process_.hProcess, 5000);
            CloseHandle(process_.hProcess);
            CloseHandle(process_.hThread);
        }
    }
    VirtualMouseServer(const VirtualMouseServer&) = delete;
    VirtualMouseServer& operator=(const VirtualMouseServer&) = delete;
    bool Serving() const { return process_.hProcess != nullptr && VirtualMouseServing(); }

  private:
    PROCESS_INFORMATION process_{};
};

}  // namespace t30::test
