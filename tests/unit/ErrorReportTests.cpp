// The error report a run ends with: the kind named in full, the value that overflowed.
#include "platform/RunError.h"
#include "tests/support/RunErrorOf.h"
#include "text/Numbers.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorReport, AnOverflowNamesTheValue) {
    EXPECT_EQ(ErrorReportText(RunErrorOf([] { RoundToInt16(40000); })),
              L"Run-time error: Overflow\r\n40000");
}

TEST(ErrorReport, NamesEveryKindInFull) {
    const std::pair<ErrorKind, const wchar_t*> names[] = {
        {ErrorKind::Overflow, L"Overflow"},
        {ErrorKind::InvalidArgument, L"Invalid procedure call or argument"},
        {ErrorKind::MissingField, L"Missing field"},
        {ErrorKind::FileAccess, L"File access error"},
        {ErrorKind::System, L"System error"}};
    for (const auto& [kind, name] : names)
        EXPECT_EQ(ErrorReportText(RunError(kind)), std::wstring(L"Run-time error: ") + name);
}

} // namespace
