// /pane /find /stop /exit /jump /copy: one window message each to the running viewer.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

void PaneCommand(std::int16_t n);
void FindCommand(const std::wstring& searchText);
void StopCommand();
void ExitCommand();
void JumpCommand();
void CopyCommand();

// Gives the search dialog's text box the viewer's input language and, when searchText is
// not empty, types it in.
void FillSearchBox(HWND dialog, const std::wstring& searchText);
