// One owner type for every Win32 handle: the destructor closes it, so no path out of a
// function has to. Traits name the handle type, its "none" value and how to close it.
#pragma once
#include <windows.h>
#include <wininet.h>
#include <oleauto.h>

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

struct InternetTraits {
    using Type = HINTERNET;
    static Type None() { return nullptr; }
    static void Close(Type h) { InternetCloseHandle(h); }
};

struct WindowTraits {
    using Type = HWND;
    static Type None() { return nullptr; }
    static void Close(Type h) { DestroyWindow(h); }
};

struct GdiObjectTraits {
    using Type = HGDIOBJ;
    static Type None() { return nullptr; }
    static void Close(Type h) { DeleteObject(h); }
};

struct BstrTraits {
    using Type = BSTR;
    static Type None() { return nullptr; }
    static void Close(Type s) { SysFreeString(s); }
};

struct LocalMemoryTraits {
    using Type = HLOCAL;
    static Type None() { return nullptr; }
    static void Close(Type h) { LocalFree(h); }
};

struct MemoryDcTraits {
    using Type = HDC;
    static Type None() { return nullptr; }
    static void Close(Type h) { DeleteDC(h); }
};

using UniqueKey = UniqueHandle<KeyTraits>;
using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFile = UniqueHandle<FileHandleTraits>;
using UniqueInternet = UniqueHandle<InternetTraits>;
using UniqueWindow = UniqueHandle<WindowTraits>;
using UniqueGdiObject = UniqueHandle<GdiObjectTraits>;
using UniqueBstr = UniqueHandle<BstrTraits>;
using UniqueMemoryDc = UniqueHandle<MemoryDcTraits>;
using UniqueLocalMemory = UniqueHandle<LocalMemoryTraits>;

// A window's device context from GetDC, given back with ReleaseDC.
class WindowDc {
  public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    HDC get() const { return dc_; }

  private:
    HWND window_;
    HDC dc_;
};

// BeginPaint ... EndPaint of one WM_PAINT.
class PaintDc {
  public:
    explicit PaintDc(HWND window) : window_(window) { BeginPaint(window_, &paint_); }
    PaintDc(const PaintDc&) = delete;
    PaintDc& operator=(const PaintDc&) = delete;
    ~PaintDc() { EndPaint(window_, &paint_); }
    HDC get() const { return paint_.hdc; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
};

// An object selected into a device context for one scope, then the previous one again.
class SelectedObject {
  public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;
    ~SelectedObject() { SelectObject(dc_, previous_); }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// COM interface pointer: released by its owner.
template <typename T> class ComPtr {
  public:
    ComPtr() = default;
    explicit ComPtr(T* owned) : p_(owned) {} // takes over one reference
    ComPtr(const ComPtr&) = delete;
    ComPtr& operator=(const ComPtr&) = delete;
    ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
    ComPtr& operator=(ComPtr&& other) noexcept {
        if (this != &other) {
            reset();
            p_ = std::exchange(other.p_, nullptr);
        }
        return *this;
    }
    ~ComPtr() { reset(); }
    T* get() const { return p_; }
    T* operator->() const { return p_; }
    explicit operator bool() const { return p_ != nullptr; }
    T** put() {
        reset();
        return &p_;
    }
    void reset() {
        if (p_)
            p_->Release();
        p_ = nullptr;
    }

  private:
    T* p_ = nullptr;
};

// This thread in a single-threaded COM apartment for as long as its owner lives; left
// again only when joined here.
class ComApartment {
  public:
    ComApartment() : joined_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
    ~ComApartment() {
        if (joined_)
            CoUninitialize();
    }

  private:
    bool joined_;
};
