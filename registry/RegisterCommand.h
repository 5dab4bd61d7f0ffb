// /reg: records a help file's folder and version under the product key.
#pragma once
#include <string>

void RegisterCommand(const std::wstring& argument);
