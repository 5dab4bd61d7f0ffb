// The owner of an OLE Automation string (BSTR).
#pragma once
#include "platform/UniqueHandle.h"

#include <oleauto.h>

struct BstrTraits {
    using Type = BSTR;
    static Type None() { return nullptr; }
    static void Close(Type s) { SysFreeString(s); }
};

using UniqueBstr = UniqueHandle<BstrTraits>;
