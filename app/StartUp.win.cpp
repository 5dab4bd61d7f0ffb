#include "app/StartUp.h"

#include "about/AboutWindow.h"
#include "platform/VersionText.h"
#include "text/Numbers.h"
#include "text/TextUtil.h"
#include "app/SwitchTable.h"
#include "favorites/Favorites.h"
#include "platform/ProgramInfo.h"
#include "registry/Placement.h"
#include "registry/RegisterCommand.h"
#include "registry/Registry.h"
#include "registry/RegistryText.h"
#include "viewer/KeyboardCommands.h"
#include "viewer/TitleCommand.h"
#include "viewer/ViewerCommands.h"
#include "viewer/ViewerWindows.h"

#include <windows.h>

namespace {

const std::wstring AppPathsKey = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\App Paths\\";
const std::wstring RestrictionsKey = L"SOFTWARE\\Microsoft\\HTMLHelp\\1.x\\HHRestrictions";
const std::wstring FrameNavigationValue = L"EnableFrameNavigationInSafeMode";

// Lets the shell start the client by its bare file name.
void RegisterAppPath() {
    const std::wstring key = AppPathsKey + ProgramName() + L".exe";
    WriteRegistryValue(HKEY_LOCAL_MACHINE, key, L"", ProgramPath(), RegSz);
    WriteRegistryValue(HKEY_LOCAL_MACHINE, key, L"Path", ProgramFolder(), RegSz);
}

// Whether a stored value reads as the whole number 1 (halves go to the even neighbour).
// A number too large for any whole number is not 1: such a value is rewritten, never a
// reason to end the run.
bool ReadsAsOne(const std::wstring& text) {
    const double number = LeadingNumber(text);
    return number > 0.5 && number < 1.5;
}

// Lets the viewer's pages navigate frames. A value that reads as 1, double-word or text,
// stays as it is.
void AllowFrameNavigation() {
    if (!ReadsAsOne(ReadRegistryValue(HKEY_LOCAL_MACHINE, RestrictionsKey, FrameNavigationValue)))
        WriteRegistryValue(HKEY_LOCAL_MACHINE, RestrictionsKey, FrameNavigationValue, L"1",
                           RegDword);
}

// The line cut to what a message box shows on any screen: a page may give the client a
// line of 32,767 characters, and the box grows with its text, OK off the screen.
void ShowUnknownSwitch(const std::wstring& commandLine) {
    const std::wstring text = L"Error: Unknown parameter.\r\n" + CutText(commandLine, 200);
    MessageBoxW(nullptr, text.c_str(), MessageCaption().c_str(), MB_OK | MB_ICONERROR);
}

void RunSwitch(const SwitchChoice& choice) {
    switch (choice.id) {
    case Switch::Ver:
        return AboutCommand(choice.text);
    case Switch::Stop:
        return StopCommand();
    case Switch::Pane:
        return PaneCommand(static_cast<std::int16_t>(choice.number));
    case Switch::Find:
        return FindCommand(choice.text);
    case Switch::Jump:
        return JumpCommand();
    case Switch::Exit:
        return ExitCommand();
    case Switch::Reg:
        return RegisterCommand(choice.text);
    case Switch::Title:
        return TitleCommand(choice.text);
    case Switch::Keyb:
        return KeyboardCommand(choice.number);
    case Switch::Keyh:
        return HtaKeyboardCommand(choice.number);
    case Switch::Move:
        return MoveCommand(choice.text);
    case Switch::Run:
        return RunCommand(choice.text);
    case Switch::BmAdd:
        return UpdateFavorites(choice.text, true);
    case Switch::BmDel:
        return UpdateFavorites(choice.text, false);
    case Switch::Copy:
        return CopyCommand();
    case Switch::Unknown:
        break;
    }
}

} // namespace

std::wstring CommandLineText() {
    return ArgumentsOfCommandLine(GetCommandLineW());
}

void StartUp() {
    CurrentViewer = FindForegroundViewer();
    RegisterAppPath();
    AllowFrameNavigation();
    const std::wstring commandLine = CommandLineText();
    const SwitchChoice choice = ChooseSwitch(commandLine);
    if (choice.id == Switch::Unknown)
        ShowUnknownSwitch(commandLine);
    else
        RunSwitch(choice);
}
