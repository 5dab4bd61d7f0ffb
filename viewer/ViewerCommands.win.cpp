#include "viewer/ViewerCommands.h"

// The viewer commands arrive with window discovery; until then they do nothing.
void PaneCommand(std::int16_t) {}
void FindCommand(const std::wstring&) {}
void StopCommand() {}
void ExitCommand() {}
void JumpCommand() {}
void CopyCommand() {}
