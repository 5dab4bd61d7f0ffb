#include "registry/Placement.h"

#include "platform/PathText.h"
#include "platform/RunError.h"
#include "platform/Shell.h"
#include "registry/HelpFileText.h"
#include "registry/ProductKey.h"
#include "registry/Registry.h"
#include "registry/RegistryText.h"
#include "platform/Files.h"
#include "text/TextUtil.h"
#include "viewer/BoundedSend.h"
#include "viewer/ViewerWindows.h"

#include <windows.h>

namespace {

const std::wstring RectValue = L"Rect";

} // namespace

void RunCommand(const std::wstring& argument) {
    if (!CurrentViewer)
        return;
    RECT rect{};
    // A viewer that vanished in between has no place worth remembering.
    const bool placed = GetWindowRect(CurrentViewer, &rect) != FALSE;
    const std::wstring key = HelpFileKey(HelpFileName(argument));
    const std::wstring rectBefore = ReadRegistryValue(HKEY_LOCAL_MACHINE, key, RectValue);
    WriteRegistryValue(HKEY_LOCAL_MACHINE, key, L"", FolderWithSlash(argument), RegSz);
    if (placed)
        WriteRegistryValue(HKEY_LOCAL_MACHINE, key, RectValue,
                           RectText(rect.left, rect.top, rect.right, rect.bottom), RegSz);
    // Windows' shell tolerates blanks before a path, Wine's does not: hand it the path
    // itself.
    const std::wstring file(TrimText(argument, TextEnds::Start, L" "));
    if (const unsigned long error = OpenWithShell(file)) {
        // The reader keeps the viewer they have, and its place stays as it was.
        WriteRegistryValue(HKEY_LOCAL_MACHINE, key, RectValue, rectBefore, RegSz);
        throw RunError(ErrorKind::FileAccess, L"The help file could not be opened:\r\n" + file +
                                                  L"\r\n" + SystemErrorText(error));
    }
    PostMessageA(CurrentViewer, WM_CLOSE, 0, 0);
}

void MoveCommand(const std::wstring& argument) {
    if (!CurrentViewer)
        return;
    const std::wstring key = HelpFileKey(argument);
    const auto rect = ParseRectText(ReadRegistryValue(HKEY_LOCAL_MACHINE, key, RectValue));
    if (!rect)
        return;
    PlaceWithoutWaiting(CurrentViewer, rect->left, rect->top, rect->width, rect->height);
    WriteRegistryValue(HKEY_LOCAL_MACHINE, key, RectValue, L"", RegSz);
}
