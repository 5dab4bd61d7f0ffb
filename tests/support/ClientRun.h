// The real Varnholt.exe run to the message box it shows: the box is read, answered, and
// the program's end awaited.
#pragma once
#include "tests/support/MessageBoxDriver.h"

#include <windows.h>

#include <string>

struct BoxRun {
    MessageBoxView box; // window == nullptr when none came within the time
    DWORD exitCode = 0;
};

// Starts the client, waits up to boxTimeoutMs for its message box (captioned as every one
// of the client's), answers it, and waits for the client's end (killing it after 15 s).
BoxRun RunAndAnswer(const std::wstring& arguments, int answer = IDOK, DWORD boxTimeoutMs = 15000);
