// Handing a file or web address to the Windows shell, as the dictionary's links expect.
#pragma once
#include <string>

// The shell's "open" of target, with the parameters "0", hidden, and without the shell's
// own error messages. 0 when the shell took it, otherwise the system's error code.
unsigned long OpenWithShell(const std::wstring& target);
