// Functions of the system that older Windows lack (GetDpiForWindow came with Windows 10,
// IsWow64Process with XP SP2): looked up when first needed, in a library every process of
// the program has loaded already.
#pragma once
#include <windows.h>

// The function, or nullptr where this Windows has none.
template <typename Function>
Function OptionalSystemFunction(const wchar_t* library, const char* name) {
    const HMODULE module = GetModuleHandleW(library);
    return module
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(module, name)))
               : nullptr;
}
