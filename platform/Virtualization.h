// A program without an execution level in its manifest has its writes to protected
// folders and keys redirected, on Windows, to a store of the user's own. Some files must
// be written where they are or not at all.
#pragma once
#include "platform/UniqueHandle.h"

// While it lives, the process writes files where it names them: the redirection is off
// (where the system has it and lets it be changed), and back as it was afterwards.
class FileVirtualizationOff {
  public:
    FileVirtualizationOff();
    ~FileVirtualizationOff();
    FileVirtualizationOff(const FileVirtualizationOff&) = delete;
    FileVirtualizationOff& operator=(const FileVirtualizationOff&) = delete;

  private:
    UniqueKernelHandle token_;
    bool restore_ = false;
};

// Whether the process's writes are redirected now.
bool VirtualizationEnabled();
