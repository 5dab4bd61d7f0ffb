#include "tests/support/MessageBoxDriver.h"

#include "platform/WindowHandles.h"
#include "tests/support/Process.h"
#include "tests/support/WindowText.h"

namespace {

// Pixels of a size x size square: the icon drawn on a background colour, or the screen.
std::vector<COLORREF> IconPixels(HICON icon, int size, COLORREF background) {
    const WindowDc screen(nullptr);
    const UniqueMemoryDc memory(CreateCompatibleDC(screen.get()));
    const UniqueGdiObject bitmap(CreateCompatibleBitmap(screen.get(), size, size));
    const SelectedObject selected(memory.get(), bitmap.get());
    const UniqueGdiObject brush(CreateSolidBrush(background));
    const RECT all{0, 0, size, size};
    FillRect(memory.get(), &all, static_cast<HBRUSH>(brush.get()));
    DrawIconEx(memory.get(), 0, 0, icon, size, size, 0, nullptr, DI_NORMAL);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            pixels.push_back(GetPixel(memory.get(), x, y));
    return pixels;
}

std::vector<COLORREF> ScreenPixels(HWND window, int size) {
    RECT rect;
    GetWindowRect(window, &rect);
    const WindowDc screen(nullptr);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x)
            pixels.push_back(GetPixel(screen.get(), rect.left + x, rect.top + y));
    return pixels;
}

// Which system icon these pixels show, if any.
LPCWSTR IconShown(const std::vector<COLORREF>& shown, int size) {
    for (LPCWSTR id : {IDI_ERROR, IDI_QUESTION, IDI_INFORMATION, IDI_WARNING}) {
        const HICON icon = LoadIconW(nullptr, id);
        const auto onBlack = IconPixels(icon, size, RGB(0, 0, 0));
        const auto onWhite = IconPixels(icon, size, RGB(255, 255, 255));
        int opaque = 0, same = 0;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            if (onBlack[i] != onWhite[i])
                continue; // transparent pixel: shows the background
            ++opaque;
            same += shown[i] == onBlack[i];
        }
        if (opaque > 0 && same * 10 >= opaque * 9)
            return id;
    }
    return nullptr;
}

// The message box's icon, told by its pixels on the screen: a handle of another process's
// icon means nothing here, but the system icons look the same in every process.
LPCWSTR IconOf(HWND box) {
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_ICON ||
            ClassOf(child) != L"Static")
            continue;
        const int size = GetSystemMetrics(SM_CXICON);
        RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        // The box paints in its own time: look until one icon is there, for a while.
        LPCWSTR found = nullptr;
        WaitUntil([&] { return (found = IconShown(ScreenPixels(child, size), size)) != nullptr; },
                  3000);
        return found;
    }
    return nullptr;
}

MessageBoxView Read(HWND box) {
    MessageBoxView view;
    view.window = box;
    GetWindowRect(box, &view.frame);
    view.caption = TitleOf(box);
    view.text = TitleOf(GetDlgItem(box, 0xFFFF));
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (ClassOf(child) != L"Button")
            continue;
        view.buttons.push_back(TitleOf(child));
        if ((GetWindowLongW(child, GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON)
            view.defaultButtonId = GetDlgCtrlID(child);
    }
    view.icon = IconOf(box);
    return view;
}

} // namespace

std::vector<HWND> FindMessageBoxes(DWORD processId, const std::wstring& caption) {
    std::vector<HWND> found;
    for (HWND window = GetWindow(GetDesktopWindow(), GW_CHILD); window;
         window = GetWindow(window, GW_HWNDNEXT)) {
        DWORD pid = 0;
        GetWindowThreadProcessId(window, &pid);
        if ((processId == 0 || pid == processId) && ClassOf(window) == L"#32770" &&
            IsWindowVisible(window) && TitleOf(window) == caption)
            found.push_back(window);
    }
    return found;
}

MessageBoxView WaitForMessageBox(DWORD processId, const std::wstring& caption, DWORD timeoutMs) {
    std::vector<HWND> boxes;
    if (!WaitUntil([&] { return !(boxes = FindMessageBoxes(processId, caption)).empty(); },
                   timeoutMs))
        return {};
    // Found as soon as it exists: wait until its text and a button are there too.
    const HWND box = boxes.front();
    WaitUntil(
        [&] { return GetDlgItem(box, 0xFFFF) && FindWindowExW(box, nullptr, L"Button", nullptr); },
        5000);
    return Read(box);
}

void AnswerMessageBox(HWND box, int buttonId) {
    PostMessageW(box, WM_COMMAND, buttonId, 0);
}
