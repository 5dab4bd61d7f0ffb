#include "viewer/KeyboardCommands.h"

#include "platform/Ansi.h"
#include "text/CaseFold.h"
#include "text/TextUtil.h"
#include "viewer/LayoutChoice.h"
#include "viewer/ViewerWindows.h"

#include <windows.h>

#include <vector>

namespace {

constexpr UINT LoadFlags = KLF_ACTIVATE | KLF_SUBSTITUTE_OK | KLF_SETFORPROCESS;
constexpr wchar_t HtaClass[] = L"HTML Application Host Window Class";

std::vector<HKL> InstalledLayouts() {
    const int count = GetKeyboardLayoutList(0, nullptr);
    std::vector<HKL> layouts(static_cast<std::size_t>(count > 0 ? count : 0));
    if (!layouts.empty()) {
        const int got = GetKeyboardLayoutList(count, layouts.data());
        layouts.resize(static_cast<std::size_t>(got > 0 ? got : 0));
    }
    return layouts;
}

} // namespace

void KeyboardCommand(std::int32_t language) {
    if (!CurrentViewer)
        return;
    const std::vector<HKL> layouts = InstalledLayouts();
    std::vector<std::int32_t> languages;
    for (const HKL layout : layouts)
        languages.push_back(
            LowWord(static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(layout))));
    const LayoutChoice choice = ChooseLayout(language, languages);
    const HKL layout = choice.position >= 0
                           ? layouts[static_cast<std::size_t>(choice.position)]
                           : LoadKeyboardLayoutA(ToAnsi(choice.layoutName).c_str(), LoadFlags);
    // No layout in the request means "the previous one", which nobody asked for.
    if (layout)
        PostMessageA(CurrentViewer, WM_INPUTLANGCHANGEREQUEST, 0, reinterpret_cast<LPARAM>(layout));
}

void HtaKeyboardCommand(std::int32_t language) {
    const HWND front = GetForegroundWindow();
    if (EqualsNoCase(ReadClassName(front, ClassCheckLimit), HtaClass))
        CurrentViewer = front;
    KeyboardCommand(language);
}
