// The version resource and the manifest of Varnholt.exe as Windows reads them: the test
// build's and the one the release ships.
#include "tests/support/BuildVersion.h"
#include "tests/support/Process.h"
#include "tests/support/VersionInfo.h"

#include <gtest/gtest.h>

namespace {

const std::wstring Programs[] = {VarnholtPath(), ReleaseVarnholtPath()};

TEST(VersionResource, FileVersionAndTexts) {
    for (const std::wstring& program : Programs) {
        SCOPED_TRACE(testing::Message()
                     << "program " << std::string(program.begin(), program.end()));
        const auto fixed = FixedVersion(program);
        ASSERT_TRUE(fixed);
        const auto part = [](DWORD word) { return std::to_wstring(word); };
        EXPECT_EQ(part(HIWORD(fixed->dwFileVersionMS)) + L"." +
                      part(LOWORD(fixed->dwFileVersionMS)) + L"." +
                      part(HIWORD(fixed->dwFileVersionLS)) + L"." +
                      part(LOWORD(fixed->dwFileVersionLS)),
                  FileVersion());
        EXPECT_EQ(VersionString(program, L"FileVersion"), ShortVersion());
        EXPECT_EQ(VersionString(program, L"ProductVersion"), ShortVersion());
        EXPECT_EQ(VersionString(program, L"FileDescription"), L"Quillbay Run-time Client");
        EXPECT_EQ(VersionString(program, L"ProductName"), L"Quillbay");
        EXPECT_FALSE(VersionString(program, L"CompanyName").empty());
    }
}

TEST(VersionResource, CommentsAreSiteAndMailAddress) {
    for (const std::wstring& program : Programs) {
        const std::wstring comments = VersionString(program, L"Comments");
        const auto comma = comments.find(L", ");
        ASSERT_NE(comma, std::wstring::npos) << "Comments: site address, mail address";
        EXPECT_EQ(comments.rfind(L"http", 0), 0u);
        EXPECT_NE(comments.substr(comma + 2).find(L'@'), std::wstring::npos);
    }
}

// The manifest names the file version, asks for the version 6 common controls, and asks
// for no execution level: the program runs as whoever starts it.
TEST(VersionResource, ManifestCarriesTheFileVersionAndNoExecutionLevel) {
    for (const std::wstring& program : Programs) {
        const std::string manifest = ManifestOf(program);
        ASSERT_FALSE(manifest.empty());
        const std::wstring version = FileVersion();
        EXPECT_NE(manifest.find("name=\"Varnholt\" version=\"" +
                                std::string(version.begin(), version.end()) + "\""),
                  std::string::npos)
            << manifest;
        EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""),
                  std::string::npos);
        EXPECT_EQ(manifest.find("requestedExecutionLevel"), std::string::npos);
    }
}

} // namespace
