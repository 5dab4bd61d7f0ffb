// Handing a file or web address to the Windows shell, as the dictionary's links expect.
#pragma once
#include <string>

// ShellExecuteA "open" with the parameters "0", hidden; the result is not looked at.
void OpenWithShell(const std::wstring& target);
