// The owner of a WinINet handle: a session, a connection or a request.
#pragma once
#include "platform/UniqueHandle.h"

#include <windows.h>
#include <wininet.h>

struct InternetTraits {
    using Type = HINTERNET;
    static Type None() { return nullptr; }
    static void Close(Type h) { InternetCloseHandle(h); }
};

using UniqueInternet = UniqueHandle<InternetTraits>;
