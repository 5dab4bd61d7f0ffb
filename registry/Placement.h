// /reg /run /move: per-help-file records under the product key.
#pragma once
#include <string>

// "SOFTWARE\<CompanyName>\<ProductName>" from the program's version resource.
std::wstring ProductKey();

void RegisterCommand(const std::wstring& argument);
void RunCommand(const std::wstring& argument);
void MoveCommand(const std::wstring& argument);
