// What the second-instance guard learns about another process through WMI: its program
// file and its command line. Where WMI lacks a fact (Wine's Win32_Process has no
// ExecutablePath and no CommandLine of other processes), the process itself is asked.
#pragma once
#include "platform/UniqueHandle.h"

#include <wbemidl.h>

#include <optional>
#include <string>

struct ProcessFacts {
    std::wstring executablePath; // empty when unknown
    std::wstring commandLine;    // empty when unknown
};

class ProcessQuery {
  public:
    // Connects to "winmgmts:\\.\root\cimv2".
    ProcessQuery();
    ProcessQuery(const ProcessQuery&) = delete;
    ProcessQuery& operator=(const ProcessQuery&) = delete;

    bool Connected() const { return static_cast<bool>(services_); }

    // Nothing when WMI is not reached or knows no such process (it has ended).
    std::optional<ProcessFacts> Fetch(DWORD processId) const;

  private:
    ComPtr<IWbemClassObject> FetchObject(DWORD processId) const;

    ComApartment apartment_; // first in, last out: the COM pointers go before it
    ComPtr<IWbemServices> services_;
};

// The image path of a running process as the process reports it; empty when it cannot
// be opened.
std::wstring ProcessImagePath(DWORD processId);

// The command line of a running 32-bit process, read from its process parameters;
// empty when it cannot be read.
std::wstring ProcessCommandLine(DWORD processId);
