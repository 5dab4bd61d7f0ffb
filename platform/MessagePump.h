// Handling the program's own window messages while it waits on its one thread.
#pragma once
#include <windows.h>

// Dispatches the messages waiting now. A quit request is put back for the message loop
// and ends the dispatching.
void DispatchPendingMessages();

// Lets milliseconds pass by the tick count, dispatching messages as they come and asleep
// in between rather than spinning.
void WaitDispatchingMessages(DWORD milliseconds);
