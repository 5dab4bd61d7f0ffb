// CheckLatestVersion over WinINet against the local test site: the outcome and its two
// outputs, which are written only when something was received.
#include "about/SiteCheck.h"
#include "tests/support/TestSite.h"

#include <gtest/gtest.h>

namespace {

const std::wstring VersionFile = std::wstring(TestSiteAddress) + L"/Rurivur/Varnholt.js";

class CheckLatestVersionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(WaitForTestSite(15000)) << "no test site on 127.0.0.1:18080";
        ASSERT_TRUE(ResetTestSite());
    }
    void TearDown() override { SetTestSiteMode("normal"); }
};

TEST_F(CheckLatestVersionTest, ReadsVersionAndSizeFromTheDownloadedFile) {
    SetVersionFile("Varnholt", "var info = 'Version=\"2.128\";Size=900;';");
    std::wstring latest = L"before";
    double size = -1;
    EXPECT_EQ(CheckLatestVersion(VersionFile, L"2.127", latest, &size), VersionAnswer::Newer);
    EXPECT_EQ(latest, L"2.128");
    EXPECT_EQ(size, 900.0);
    EXPECT_EQ(CheckLatestVersion(VersionFile, L"2.128", latest), VersionAnswer::NotNewer);
    EXPECT_EQ(CheckLatestVersion(VersionFile, L"", latest), VersionAnswer::None);
    // Every check asks the site again: nothing comes from a cache.
    EXPECT_EQ(TestSiteRequests().size(), 3u);
}

TEST_F(CheckLatestVersionTest, ALongBodyIsReadToItsEnd) {
    // Far more than one 2048-byte read before the entry.
    SetVersionFile("Varnholt", std::string(10000, ' ') + "Version=3.5;");
    std::wstring latest;
    EXPECT_EQ(CheckLatestVersion(VersionFile, L"2.127", latest), VersionAnswer::Newer);
    EXPECT_EQ(latest, L"3.5");
}

TEST_F(CheckLatestVersionTest, AnErrorPageIsReceivedTextWithoutVersion) {
    std::wstring latest = L"before";
    double size = -1;
    EXPECT_EQ(CheckLatestVersion(VersionFile, L"2.127", latest, &size), VersionAnswer::None);
    EXPECT_EQ(latest, L""); // text came, so the outputs were written
    EXPECT_EQ(size, 0.0);
}

TEST_F(CheckLatestVersionTest, NothingReceivedLeavesTheOutputsAlone) {
    std::wstring latest = L"before";
    double size = -1;
    EXPECT_EQ(CheckLatestVersion(L"", L"2.127", latest, &size), VersionAnswer::None);
    EXPECT_EQ(
        CheckLatestVersion(L"http://127.0.0.1:1/Rurivur/Varnholt.js", L"2.127", latest, &size),
        VersionAnswer::None);
    EXPECT_EQ(CheckLatestVersion(L"not an address", L"2.127", latest, &size), VersionAnswer::None);
    EXPECT_EQ(latest, L"before");
    EXPECT_EQ(size, -1.0);
}

TEST_F(CheckLatestVersionTest, ASilentServerEndsInNoAnswerAfterTheTimeLimit) {
    SetVersionFile("Varnholt", "Version=2.128;");
    SetTestSiteMode("silent");
    std::wstring latest = L"before";
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(CheckLatestVersion(VersionFile, L"2.127", latest), VersionAnswer::None);
    const ULONGLONG elapsed = GetTickCount64() - start;
    EXPECT_EQ(latest, L"before");
    // A few seconds, not WinINet's own minutes.
    EXPECT_GE(elapsed, 2000u);
    EXPECT_LE(elapsed, 30000u);
}

TEST_F(CheckLatestVersionTest, ATricklingOrOversizedBodyIsNoAnswer) {
    // One byte a second passes every step's limit, but not the whole download's.
    SetVersionFile("Varnholt", "Version=2.128;" + std::string(20, ' '));
    SetTestSiteMode("trickle");
    std::wstring latest = L"before";
    EXPECT_EQ(CheckLatestVersion(VersionFile, L"2.127", latest), VersionAnswer::None);
    EXPECT_EQ(latest, L"before");
    SetTestSiteMode("normal");
    SetVersionFile("Varnholt", "Version=2.128;" + std::string(DownloadLimitBytes, ' '));
    EXPECT_EQ(CheckLatestVersion(VersionFile, L"2.127", latest), VersionAnswer::None);
    EXPECT_EQ(latest, L"before");
    SetVersionFile("Varnholt", "Version=2.128;" + std::string(DownloadLimitBytes - 20, ' '));
    EXPECT_EQ(CheckLatestVersion(VersionFile, L"2.127", latest), VersionAnswer::Newer);
}

} // namespace
