#include "platform/RunError.h"

std::wstring ErrorKindName(ErrorKind kind) {
    switch (kind) {
    case ErrorKind::Overflow:
        return L"Overflow";
    case ErrorKind::InvalidArgument:
        return L"Invalid procedure call or argument";
    case ErrorKind::MissingField:
        return L"Missing field";
    case ErrorKind::FileAccess:
        return L"File access error";
    case ErrorKind::System:
        return L"System error";
    }
    return L"Unknown error";
}

std::wstring ErrorReportText(const RunError& error) {
    std::wstring text = L"Run-time error: " + ErrorKindName(error.Kind());
    if (!error.Detail().empty())
        text += L"\r\n" + error.Detail();
    return text;
}
