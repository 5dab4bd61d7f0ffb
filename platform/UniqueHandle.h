// One owner type for every Win32 handle: the destructor closes it, so no path out of a
// function has to. Traits name the handle type, its "none" value and how to close it.
// Here the owners of the system's own objects (kernel objects, files, local memory,
// registry keys, file searches); each other family has a header that pulls in only its own API:
// platform/WindowHandles.h (windows and GDI), platform/InternetHandle.h (WinINet),
// platform/ComHandles.h (COM) and platform/UniqueBstr.h (OLE Automation strings).
#pragma once
#include <windows.h>

#include <utility>

template <typename Traits> class UniqueHandle {
  public:
    using Type = typename Traits::Type;

    UniqueHandle() = default;
    explicit UniqueHandle(Type handle) : handle_(handle) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Type get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::None(); }
    Type* put() {
        reset();
        return &handle_;
    }
    Type release() { return std::exchange(handle_, Traits::None()); }
    void reset(Type handle = Traits::None()) {
        if (handle_ != Traits::None())
            Traits::Close(handle_);
        handle_ = handle;
    }

  private:
    Type handle_ = Traits::None();
};

struct KeyTraits {
    using Type = HKEY;
    static Type None() { return nullptr; }
    static void Close(Type h) { RegCloseKey(h); }
};

struct KernelHandleTraits {
    using Type = HANDLE;
    static Type None() { return nullptr; }
    static void Close(Type h) { CloseHandle(h); }
};

struct FileHandleTraits {
    using Type = HANDLE;
    static Type None() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { CloseHandle(h); }
};

struct LocalMemoryTraits {
    using Type = HLOCAL;
    static Type None() { return nullptr; }
    static void Close(Type h) { LocalFree(h); }
};

struct FindTraits {
    using Type = HANDLE;
    static Type None() { return INVALID_HANDLE_VALUE; }
    static void Close(Type h) { FindClose(h); }
};

using UniqueKey = UniqueHandle<KeyTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits>;
using UniqueFind = UniqueHandle<FindTraits>; // FindFirstFileW
