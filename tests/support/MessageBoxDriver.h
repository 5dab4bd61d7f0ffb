// Finds, reads and answers the real message boxes of another process, the way a user
// would: by caption, text, icon and buttons.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

struct MessageBoxView {
    HWND window = nullptr;
    RECT frame{}; // on the screen
    std::wstring caption;
    std::wstring text;
    std::vector<std::wstring> buttons; // captions of the push buttons, in child order
    int defaultButtonId = 0;
    LPCWSTR icon = nullptr; // IDI_ERROR, IDI_QUESTION, IDI_INFORMATION, IDI_WARNING or null
};

// Waits up to timeoutMs for a message box (class #32770) of process processId (any
// process when 0) with the caption; returns its view, or window == nullptr.
MessageBoxView WaitForMessageBox(DWORD processId, const std::wstring& caption, DWORD timeoutMs);

// All message boxes of that process with that caption that are open now.
std::vector<HWND> FindMessageBoxes(DWORD processId, const std::wstring& caption);

// Answers a message box by button id (IDOK, IDYES, IDNO, IDCANCEL).
void AnswerMessageBox(HWND box, int buttonId);
