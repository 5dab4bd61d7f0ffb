// /title: retitle the viewer, guarding against a second instance of the dictionary.
#pragma once
#include <string>

void TitleCommand(const std::wstring& argument);
