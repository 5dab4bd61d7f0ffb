#include "viewer/ViewerWindows.h"

#include "platform/Ansi.h"
#include "text/CaseFold.h"

#include <string>

namespace {

// Class name through the narrow API, read with the given limit (terminator included).
std::wstring ClassNameOf(HWND window, int limit) {
    std::string buffer(static_cast<std::size_t>(limit), '\0');
    const int n = GetClassNameA(window, buffer.data(), limit);
    buffer.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return FromAnsi(buffer);
}

} // namespace

HWND FindForegroundViewer() {
    const HWND window = GetForegroundWindow();
    return EqualsNoCase(ClassNameOf(window, 255), ViewerClass) ? window : nullptr;
}
