// UniqueHandle: the one way to own a Win32 handle or COM pointer, with a traits class per kind
// (GDI objects and device contexts add theirs in ui/framework/gdi.h).
#pragma once

#include <windows.h>

#include <utility>

namespace t30 {

// Owner of one handle whose release is Traits::Close. Traits::Invalid() is the empty value.
template <class Handle, class Traits>
class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : h_(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : h_(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            Reset(other.Release());
        }
        return *this;
    }

    Handle Get() const { return h_; }
    explicit operator bool() const { return h_ != Traits::Invalid(); }
    // Gives up ownership without releasing.
    Handle Release() { return std::exchange(h_, Traits::Invalid()); }
    // Releases what is owned, then owns h.
    void Reset(Handle h = Traits::Invalid()) {
        if (h_ != Traits::Invalid() && h_ != h) {
            Traits::Close(h_);
        }
        h_ = h;
    }

  private:
    Handle h_ = Traits::Invalid();
};

struct LibraryTraits {
    static HMODULE Invalid() { return nullptr; }
    static void Close(HMODULE h) { FreeLibrary(h); }
};
// A kernel object (process, mutex, event, snapshot...); not for files, whose empty value differs.
struct KernelHandleTraits {
    static HANDLE Invalid() { return nullptr; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
// A file opened by CreateFile, whose empty value is INVALID_HANDLE_VALUE.
struct FileHandleTraits {
    static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
    static void Close(HANDLE h) { CloseHandle(h); }
};
struct RegistryKeyTraits {
    static HKEY Invalid() { return nullptr; }
    static void Close(HKEY h) { RegCloseKey(h); }
};
// A COM interface pointer: released, never deleted.
template <class Interface>
struct ComTraits {
    static Interface* Invalid() { return nullptr; }
    static void Close(Interface* p) { p->Release(); }
};

using Library = UniqueHandle<HMODULE, LibraryTraits>;
using KernelHandle = UniqueHandle<HANDLE, KernelHandleTraits>;
using FileHandle = UniqueHandle<HANDLE, FileHandleTraits>;
using RegistryKeyHandle = UniqueHandle<HKEY, RegistryKeyTraits>;
template <class Interface>
using ComPtr = UniqueHandle<Interface*, ComTraits<Interface>>;

// Functions that report failure as INVALID_HANDLE_VALUE (CreateToolhelp32Snapshot) give an empty
// owner like the ones that report it as null.
inline KernelHandle OwnKernelHandle(HANDLE h) {
    return KernelHandle(h == INVALID_HANDLE_VALUE ? nullptr : h);
}

}  // namespace t30
