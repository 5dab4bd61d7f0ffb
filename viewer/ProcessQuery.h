// What the second-instance guard learns about another process through WMI: its program
// file and its command line. Where WMI lacks a fact (Wine's Win32_Process has no
// ExecutablePath and no CommandLine of other processes), the process itself is asked.
// WMI is waited for a few seconds at most: a damaged repository, common on old machines,
// never answers, and every start of the dictionary would leave a client hanging.
#pragma once
#include "platform/ComHandles.h"

#include <wbemidl.h>

#include <optional>
#include <string>

struct ProcessFacts {
    std::wstring executablePath; // empty when unknown
    std::wstring commandLine;    // empty when unknown
};

// How long one question to WMI may wait for its answer.
inline constexpr long WmiAnswerBoundMs = 5000;

class ProcessQuery {
  public:
    // Connects to "winmgmts:\\.\root\cimv2".
    ProcessQuery();
    ProcessQuery(const ProcessQuery&) = delete;
    ProcessQuery& operator=(const ProcessQuery&) = delete;

    bool Connected() const { return static_cast<bool>(services_); }

    // Nothing when WMI is not reached or knows no such process (it has ended). A WMI that
    // does not answer within its bound counts as not reached, for this question and the
    // rest of the run.
    std::optional<ProcessFacts> Fetch(DWORD processId);

  private:
    ComPtr<IWbemClassObject> FetchObject(DWORD processId);

    ComApartment apartment_; // first in, last out: the COM pointers go before it
    ComPtr<IWbemServices> services_;
};

// The image path of a running process as the process reports it; empty when it cannot
// be opened.
std::wstring ProcessImagePath(DWORD processId);

// The command line of a running 32-bit process, read from its process parameters;
// empty when it cannot be read.
std::wstring ProcessCommandLine(DWORD processId);
