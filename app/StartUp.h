// The whole control flow of a run: capture the viewer, register, dispatch one switch.
#pragma once
#include <string>

void StartUp();

// The program's arguments: its command line without its own name.
std::wstring CommandLineText();
