// Observes what the shell opens for http addresses: while a LinkRecorder lives, the test
// prefix opens them with record_link.exe (instead of the browser), which writes each
// command line it gets to opened-links.txt beside the test programs.
#pragma once
#include "tests/support/TestRegistry.h"

#include <optional>
#include <string>
#include <vector>

class LinkRecorder {
  public:
    LinkRecorder();  // registers record_link.exe and clears the record
    ~LinkRecorder(); // gives http back to the handler that was registered before
    LinkRecorder(const LinkRecorder&) = delete;
    LinkRecorder& operator=(const LinkRecorder&) = delete;

    // The command lines record_link.exe was started with so far.
    std::vector<std::string> OpenedLinks() const;
    // Waits up to timeoutMs for at least count records.
    std::vector<std::string> WaitForLinks(std::size_t count, unsigned timeoutMs) const;

  private:
    std::optional<RawValue> previous64_;
    std::optional<RawValue> previous32_;
};
