// /pane /find /stop /exit /jump /copy: one window message each to the running viewer.
#pragma once
#include <cstdint>
#include <string>

void PaneCommand(std::int16_t n);
void FindCommand(const std::wstring& searchText);
void StopCommand();
void ExitCommand();
void JumpCommand();
void CopyCommand();
