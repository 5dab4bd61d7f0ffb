// CheckLatestVersion over WinINet against the local test site: the outcome and its two
// outputs, which are written only when something was received.
#include "about/SiteCheck.h"
#include "tests/support/TestSite.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const std::wstring VersionFile = std::wstring(TestSiteAddress) + L"/Rurivur/Varnholt.js";
const std::wstring Https = L"https://127.0.0.1:18443/Rurivur/Varnholt.js"; // the test bed's

class CheckLatestVersionTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(WaitForTestSite(15000)) << "no test site on 127.0.0.1:18080";
        ASSERT_TRUE(ResetTestSite());
    }
    void TearDown() override { SetTestSiteMode("normal"); }
};

// What the site sends and what the check makes of it. "before" stands for outputs left as
// they were: nothing was received, or the answer had another status than 200 (an error
// page, whatever it says), or it did not arrive whole within the time and size limits.
// Every check asks the site again (nothing comes from a cache); over https the test
// authority is trusted (a stranger's certificate is the About window's test), redirects
// from http to https are followed, from https to http never (the http site is not asked).
TEST_F(CheckLatestVersionTest, WhatTheSiteSendsAndWhatTheCheckReads) {
    const TrustedTestAuthority trust;
    const std::string file = "Version=2.128;";
    using enum VersionAnswer;
    const struct {
        const std::wstring& url;
        const char* mode;
        std::string body;
        int status;
        const wchar_t* current;
        VersionAnswer answer;
        const wchar_t* latest;
        double size;
        long asked; // requests to the http site
    } cases[] = {
        {VersionFile, "normal", "var info = 'Version=\"2.128\";Size=900;';", 200, L"2.127", Newer,
         L"2.128", 900, 1},
        {VersionFile, "normal", file, 200, L"2.128", NotNewer, L"2.128", 0, 1},
        {VersionFile, "normal", file, 200, L"", None, L"2.128", 0, 1},
        // Far more than one 2048-byte read before the entry.
        {VersionFile, "normal", std::string(10000, ' ') + "Version=3.5;", 200, L"2.127", Newer,
         L"3.5", 0, 1},
        {VersionFile, "normal", "", 404, L"2.127", None, L"before", -1, 1},
        {VersionFile, "normal", "Version=9.9;Size=900;", 500, L"2.127", None, L"before", -1, 1},
        {L"", "normal", file, 200, L"2.127", None, L"before", -1, 0},
        {L"http://127.0.0.1:1/Rurivur/Varnholt.js", "normal", file, 200, L"2.127", None, L"before",
         -1, 0},
        {L"not an address", "normal", file, 200, L"2.127", None, L"before", -1, 0},
        // One byte a second passes every step's limit, but not the whole download's.
        {VersionFile, "silent", file, 200, L"2.127", None, L"before", -1, 1},
        {VersionFile, "trickle", file + std::string(20, ' '), 200, L"2.127", None, L"before", -1,
         1},
        {VersionFile, "normal", file + std::string(DownloadLimitBytes, ' '), 200, L"2.127", None,
         L"before", -1, 1},
        {VersionFile, "normal", file + std::string(DownloadLimitBytes - 20, ' '), 200, L"2.127",
         Newer, L"2.128", 0, 1},
        {Https, "normal", file, 200, L"2.127", Newer, L"2.128", 0, 0},
        {VersionFile, "redirect-to-https", file, 200, L"2.127", Newer, L"2.128", 0, 1},
        {Https, "redirect-to-http", file, 200, L"2.127", None, L"before", -1, 0},
    };
    for (const auto& c : cases) {
        const std::string row = std::to_string(&c - cases) + " " + c.mode;
        ASSERT_TRUE(ResetTestSite());
        if (!c.body.empty())
            SetVersionFile("Varnholt", c.body, c.status);
        SetTestSiteMode(c.mode);
        std::wstring latest = L"before";
        double size = -1;
        const ULONGLONG start = GetTickCount64();
        EXPECT_EQ(CheckLatestVersion(c.url, c.current, latest, &size), c.answer) << row;
        // A silent site is given up after a few seconds, not WinINet's own minutes.
        const ULONGLONG elapsed = GetTickCount64() - start;
        EXPECT_TRUE(elapsed <= 30000 && (c.mode != std::string("silent") || elapsed >= 2000))
            << row << ": " << elapsed << " ms";
        EXPECT_EQ(latest, c.latest) << row;
        EXPECT_EQ(size, c.size) << row;
        const auto asked = TestSiteRequests();
        EXPECT_EQ(std::count(asked.begin(), asked.end(), "/Rurivur/Varnholt.js"), c.asked) << row;
    }
}

} // namespace
