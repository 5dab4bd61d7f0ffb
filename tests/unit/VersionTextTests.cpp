// Both forms of the version text for every row of its table.
#include "tests/support/BuildVersion.h"
#include "platform/VersionText.h"

#include <gtest/gtest.h>

namespace {

struct Row {
    ProgramVersion version;
    const wchar_t* shortForm;
    const wchar_t* paddedForm;
};

TEST(VersionText, EveryRowOfTheTable) {
    const Row rows[] = {
        {{2, 127, 0}, L"2.127", L"2.27"},
        {{2, 0, 0}, L"2.00", L"2.00"},
        {{2, 5, 0}, L"2.5", L"2.05"},
        {{2, 127, 3}, L"2.127.3", L"2.27.0003"},
        {{3, 10, 12}, L"3.10.12", L"3.10.0012"},
        {{0, 1, 0}, L"0.1", L"0.01"},
        {{1, 900, 0}, L"1.900", L"1.000"},
        {{1, 9999, 9999}, L"1.9999.9999", L"1.0099.9999"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(VersionText(row.version, true), row.shortForm);
        EXPECT_EQ(VersionText(row.version, false), row.paddedForm);
        // The tests' own reading of the padded form, which they expect of the link control.
        EXPECT_EQ(PaddedVersionOf(row.version.major, row.version.minor, row.version.revision),
                  row.paddedForm);
    }
}

TEST(VersionText, ThisBuild) {
    EXPECT_EQ(VersionText(true), ShortVersion());
    EXPECT_EQ(MessageCaption(), MessageBoxCaption());
}

} // namespace
