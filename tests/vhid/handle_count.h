// Open handles of a process, counted through the system's handle table: under Wine,
// GetProcessHandleCount always answers 0. Link with ntdll.
#pragma once

#include <windows.h>

#include <winternl.h>

#include <vector>

namespace t30 {

// One row of the table (SystemHandleInformation), as Windows and Wine lay it out.
struct SystemHandleEntry {
    ULONG ownerPid;
    BYTE objectType;
    BYTE flags;
    USHORT value;
    void* object;
    ULONG access;
};

// -1 when the table cannot be read.
inline int HandlesOfProcess(DWORD pid) {
    constexpr SYSTEM_INFORMATION_CLASS kSystemHandleInformation =
        static_cast<SYSTEM_INFORMATION_CLASS>(16);
    std::vector<unsigned char> buffer(1 << 16);
    for (;;) {
        ULONG needed = 0;
        const NTSTATUS status = NtQuerySystemInformation(
            kSystemHandleInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &needed);
        if (status == static_cast<NTSTATUS>(0xC0000004L)) {  // info length mismatch
            buffer.resize(buffer.size() * 2);
            continue;
        }
        if (status != 0) {
            return -1;
        }
        break;
    }
    const ULONG count = *reinterpret_cast<const ULONG*>(buffer.data());
    const auto* entries = reinterpret_cast<const SystemHandleEntry*>(buffer.data() + sizeof(void*));
    int n = 0;
    for (ULONG i = 0; i < count; ++i) {
        if (entries[i].ownerPid == pid) {
            ++n;
        }
    }
    return n;
}

}  // namespace t30
