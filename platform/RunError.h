// The one family of errors that end a run. Handlers throw them; the program entry
// catches them once, shows the error report and sets a non-zero exit code.
#pragma once
#include <exception>
#include <string>

enum class ErrorKind {
    Overflow,
    InvalidArgument,
    MissingField,
    FileAccess,
    System,
};

class RunError : public std::exception {
  public:
    RunError(ErrorKind kind, std::wstring detail = {}) : kind_(kind), detail_(std::move(detail)) {}
    ErrorKind Kind() const { return kind_; }
    const std::wstring& Detail() const { return detail_; }
    const char* what() const noexcept override { return "Varnholt run-time error"; }

  private:
    ErrorKind kind_;
    std::wstring detail_;
};

// "Overflow", "Invalid procedure call or argument", ...
std::wstring ErrorKindName(ErrorKind kind);

// The text of the error report: "Run-time error: <name>" and, when known, a second
// line with the value or path involved.
std::wstring ErrorReportText(const RunError& error);
