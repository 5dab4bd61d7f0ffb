// The file system as the program uses it: whether a file is there, removing one, comparing
// paths, and the system's sentence for an error.
#pragma once
#include <string>

// Whether path names an existing file that is not a folder; false for the empty path
// and whenever its attributes cannot be read.
bool FileExists(const std::wstring& path);

// Deletes the file, read-only or hidden ones included; a path that names no file is
// left alone. A failure raises RunError(FileAccess).
void RemoveFile(const std::wstring& path);

// Whether two paths name the same file by the file system's rule: ordinal, ignoring case.
bool SamePath(const std::wstring& a, const std::wstring& b);

// The system's sentence for an error code ("Access denied."), or "Error <code>".
std::wstring SystemErrorText(unsigned long errorCode);

// RunError(FileAccess) naming the path and the system's text for the error code.
[[noreturn]] void ThrowFileError(const std::wstring& path, unsigned long errorCode);
