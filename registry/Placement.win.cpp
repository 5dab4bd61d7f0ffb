#include "registry/Placement.h"

void RegisterCommand(const std::wstring&) {}
void RunCommand(const std::wstring&) {}
void MoveCommand(const std::wstring&) {}
