// For the tests whose windows live in the test's own thread: the thread's messages handled
// while the test waits, and a plain top-level window to try a control or a size on.
#pragma once
#include "platform/WindowHandles.h"

#include <functional>

// Handles every message waiting for this thread.
void PumpMessages();
// Handles this thread's messages for ms milliseconds.
void PumpFor(DWORD ms);
// Handles this thread's messages until done() holds (true) or timeoutMs pass (false).
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs);
// A shown 400 x 200 top-level window of this thread at (100, 100), in front.
UniqueWindow CreateHostWindow();
