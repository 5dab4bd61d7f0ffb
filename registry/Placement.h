// /run and /move: the viewer's window put where it was when one help file replaced another.
#pragma once
#include <string>

void RunCommand(const std::wstring& argument);
void MoveCommand(const std::wstring& argument);
