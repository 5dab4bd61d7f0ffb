// Registering the program's own window classes.
#pragma once
#include <windows.h>

#include <exception>

HINSTANCE Instance();

struct WindowClassInfo {
    const wchar_t* name = nullptr;
    WNDPROC proc = nullptr;
    const wchar_t* cursor = IDC_ARROW; // a system cursor
    HBRUSH background = nullptr;
    HICON icon = nullptr; // large and small
    UINT style = 0;
};

// Registers the class; registering the same class again has no effect.
void RegisterWindowClass(const WindowClassInfo& info);

// A window procedure's body. An error it raises must not unwind through the system's code,
// which would end the program without its error report: it is kept instead, the message
// loop is asked to end, and the entry point reports it once the window is closed.
void KeepWindowError(std::exception_ptr error);
template <typename Body> LRESULT HandleMessageGuarded(Body body) noexcept {
    try {
        return body();
    } catch (...) {
        KeepWindowError(std::current_exception());
        return 0;
    }
}
// Raises the error a window procedure kept, if there is one; it is then no longer kept.
void RethrowWindowError();

template <typename T> class ObjectWindow;

// The window procedure of a class whose windows belong to an object of T, each through an
// ObjectWindow<T> of that object, the creation parameter. It keeps the window's handle in
// the ObjectWindow from the window's first message, WM_NCCREATE, so that the object knows
// its window while it is still being created, and forgets it at its last, WM_NCDESTROY.
// The object gets the messages in between through
//   LRESULT T::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
// and, where it has one, the window's end through T::OnWindowGone(const ObjectWindow<T>&).
// The few messages that come before WM_NCCREATE, and any after the object has let its
// window go, go to DefWindowProcW.
template <typename T>
LRESULT CALLBACK WindowProcOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleMessageGuarded([&]() -> LRESULT {
        if (message == WM_NCCREATE) {
            const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
            if (auto* created = static_cast<ObjectWindow<T>*>(create->lpCreateParams))
                created->Attach(window);
        }
        auto* slot = reinterpret_cast<ObjectWindow<T>*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        if (!slot)
            return DefWindowProcW(window, message, wParam, lParam);
        T& owner = slot->owner_;
        if (message == WM_NCDESTROY) {
            slot->Detach();
            if constexpr (requires { owner.OnWindowGone(*slot); })
                owner.OnWindowGone(*slot);
            return DefWindowProcW(window, message, wParam, lParam);
        }
        return owner.OnMessage(window, message, wParam, lParam);
    });
}

// One window of an object of T, made by Create and ended with the object: it is first
// told to call the object no more, then destroyed. A window that ends first (a parent
// destroyed, the reader closing it) leaves it empty.
template <typename T> class ObjectWindow {
  public:
    explicit ObjectWindow(T& owner) : owner_(owner) {}
    ObjectWindow(const ObjectWindow&) = delete;
    ObjectWindow& operator=(const ObjectWindow&) = delete;
    ~ObjectWindow() { Destroy(); }

    // CreateWindowExW for a class whose procedure is WindowProcOf<T>; false when no window
    // came of it.
    bool Create(DWORD exStyle, const wchar_t* className, const wchar_t* title, DWORD style, int x,
                int y, int width, int height, HWND parent, HMENU menu) {
        Destroy();
        CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, menu,
                        Instance(), this);
        return window_ != nullptr;
    }
    HWND get() const { return window_; }
    explicit operator bool() const { return window_ != nullptr; }

  private:
    friend LRESULT CALLBACK WindowProcOf<T>(HWND, UINT, WPARAM, LPARAM);

    void Attach(HWND window) {
        window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    void Detach() {
        if (window_)
            SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        window_ = nullptr;
    }
    void Destroy() {
        if (const HWND window = window_) {
            Detach();
            DestroyWindow(window);
        }
    }

    T& owner_;
    HWND window_ = nullptr;
};
