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

// The object a window was created for: the creation parameter, kept in the window's user
// data from WM_NCCREATE on. Null for the few messages that come before it.
template <typename T> T* WindowObject(HWND window, UINT message, LPARAM lParam) {
    if (message == WM_NCCREATE)
        SetWindowLongPtrW(
            window, GWLP_USERDATA,
            reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    return reinterpret_cast<T*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

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

// The window procedure of a class whose windows belong to an object of T, the creation
// parameter. The object gets their messages through
//   LRESULT T::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
// (it hands a window it does not know yet to DefWindowProcW), and at the window's last
// message, WM_NCDESTROY, T::OnWindowGone(HWND window): from then on the object is never
// called for that window again. An object that goes first clears its windows' user data.
template <typename T>
LRESULT CALLBACK WindowProcOf(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return HandleMessageGuarded([&]() -> LRESULT {
        T* self = WindowObject<T>(window, message, lParam);
        if (!self)
            return DefWindowProcW(window, message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            self->OnWindowGone(window);
            return DefWindowProcW(window, message, wParam, lParam);
        }
        return self->OnMessage(window, message, wParam, lParam);
    });
}
