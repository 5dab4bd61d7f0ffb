// The version file against the client's version, the on-load decision and the lines the
// About window shows, on the bodies a site can send.
#include "about/UpdateCheck.h"

#include <gtest/gtest.h>

namespace {

const ProgramVersion Client{2, 127, 0};

// The closing line the About window shows after a check that read body.
std::wstring ClosingLine(std::wstring_view body) {
    const VersionFileReading reading = ReadVersionFile(body, L"2.127");
    return UpdateMessageLines(DecideUpdate(true, reading.result, Client, reading.latestVersion),
                              reading.latestVersion);
}

const std::wstring ErrorPage =
    L"<html><head><title>404 Not Found</title></head><body>Not Found</body></html>";

// What a body says against the client's 2.127: keys in any case and among other text,
// quotes removed (a lone one leaves nothing; an opening one alone takes the last character
// with it), blanks around "=" and before ";" skipped.
TEST(VersionFile, VersionAndSizeAsRead) {
    using enum VersionAnswer;
    const struct {
        std::wstring body;
        VersionAnswer result;
        std::wstring latest;
        double size;
    } cases[] = {
        {L"Version=2.128;Size=900;", Newer, L"2.128", 900},
        {L"Version=\"2.128\";Size=900;", Newer, L"2.128", 900},
        {L"Version=2.127;Size=900;", NotNewer, L"2.127", 900},
        {L"Version=2.100;", NotNewer, L"2.100", 0},
        {L"Version=2.13;", NotNewer, L"2.13", 0}, // by parts, 2.127 is the newer
        {L"Version  =  2.128 ;Size = 12", Newer, L"2.128", 12},
        {L"// version file\r\nvar SIZE=77; var version=3.0;\r\n", Newer, L"3.0", 77},
        {L"Version=\";", None, L"", 0},
        {L"Version=\"2.128;", NotNewer, L"2.12", 0},
        {ErrorPage, None, L"", 0},
        {L"", None, L"", 0},
        // A size too large for any integer is only read, never an error that ends the run.
        {L"Version=2.2;Size=&HFFFFFFFFFFFF;", NotNewer, L"2.2", 281474976710655.0},
    };
    for (const auto& c : cases) {
        const VersionFileReading reading = ReadVersionFile(c.body, L"2.127");
        EXPECT_EQ(reading.result, c.result) << "row " << &c - cases;
        EXPECT_EQ(reading.latestVersion, c.latest) << "row " << &c - cases;
        EXPECT_EQ(reading.setupSize, c.size) << "row " << &c - cases;
    }
    // Without a version of its own to compare, the client has no answer.
    const VersionFileReading reading = ReadVersionFile(L"Version=2.128;Size=5", L"");
    EXPECT_EQ(reading.result, VersionAnswer::None);
    EXPECT_EQ(reading.latestVersion, L"2.128");
}

// The closing line: only a version number of the site's answer reaches the window; its
// other words, a number CompareVersions does not read, a digit of another script give no
// answer. The numeric test finds 2.13 newer than 2.127, which the comparison by parts
// does not.
TEST(VersionFile, OnlyAVersionNumberIsEverShown) {
    const std::wstring newer = L"\r\n\r\nAnother version (2.200) is now available:";
    const std::wstring none = L"\r\n\r\nThe newest version could not be checked.";
    const struct {
        std::wstring body;
        std::wstring line;
    } cases[] = {
        {L"Version=2.200;Size=900;", newer},
        {L"Version = \"2.200\" ;", newer},
        {L"Version=2.200\r\n", newer},
        {L"Version=2.127;", L"\r\n\r\nThe product is up to date."},
        {L"Version=2.13;", L"\r\n\r\nAnother version (2.13) is now available:"},
        {L"Version=99999.99999.99999.99999;",
         L"\r\n\r\nAnother version (99999.99999.99999.99999) is now available:"},
        {ErrorPage, none},
        {L"", none},
        {L"Version=2.200\r\nSECURITY WARNING: call +1-555-0100\r\n;", none},
        {L"Version=2.200 (call +1-555-0100);", none},
        {L"Version=&H100000000;", none},
        {L"Version=" + std::wstring(57000, L'9') + L";", none},
        {L"Version=2.200.1.1.1;", none},
        {L"Version=123456.1;", none},
        {L"Version=2..1;", none},
        {L"Version=.5;", none},
        {L"Version=2.;", none},
        {L"Version=-3;", none},
        {L"Version=2,5;", none},
        {L"Version=\u0663.\u0661;", none}, // Arabic-Indic digits
        {L"Version=\"\";", none},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ClosingLine(c.body), c.line) << "row " << &c - cases;
}

TEST(OnLoadDecision, AKnownLatestVersionDecidesByNumberAlone) {
    EXPECT_TRUE(ClientIsBehind(VersionAnswer::None, Client, L"2.2"));
    EXPECT_TRUE(ClientIsBehind(VersionAnswer::None, Client, L"3"));
    EXPECT_FALSE(ClientIsBehind(VersionAnswer::None, Client, L"2.127"));
    EXPECT_FALSE(ClientIsBehind(VersionAnswer::None, Client, L"2.1"));
    EXPECT_FALSE(ClientIsBehind(VersionAnswer::None, Client, L"x")); // reads as 0
    EXPECT_FALSE(ClientIsBehind(VersionAnswer::None, Client, L""));
    EXPECT_TRUE(ClientIsBehind(VersionAnswer::Newer, Client, L""));
    // Major.minor without padding: 2.0 is the number 2, below 2.01.
    EXPECT_TRUE(ClientIsBehind(VersionAnswer::NotNewer, ProgramVersion{2, 0, 0}, L"2.01"));
    EXPECT_FALSE(ClientIsBehind(VersionAnswer::NotNewer, ProgramVersion{2, 5, 7}, L"2.5"));
    // Without asking the site, a known version that is not newer is up to date.
    EXPECT_EQ(DecideUpdate(false, VersionAnswer::None, Client, L"2.1"), UpdateState::UpToDate);
    EXPECT_EQ(DecideUpdate(false, VersionAnswer::None, Client, L"2.2"), UpdateState::Behind);
}

TEST(OnLoadDecision, OnlyAVerArgumentThatIsAVersionNumberNamesTheNewestVersion) {
    EXPECT_EQ(VersionNumberIn(L"  2.5 "), L"2.5");
    EXPECT_EQ(VersionNumberIn(L"\t3"), L"3");
    EXPECT_EQ(VersionNumberIn(L" 9.1"), L"9.1");
    EXPECT_EQ(VersionNumberIn(L"0.5"), L"0.5");
    EXPECT_EQ(VersionNumberIn(L"sion"), L""); // "/version"
    EXPECT_EQ(VersionNumberIn(L" x"), L"");
    EXPECT_EQ(VersionNumberIn(L" .5"), L"");
    EXPECT_EQ(VersionNumberIn(L" 2.5 beta"), L"");
}

TEST(Redirects, FollowedUnlessFromHttpsToHttp) {
    EXPECT_TRUE(MayFollowRedirect(L"http://a", L"https://b") &&
                MayFollowRedirect(L"https://a", L"HTTPS://b"));
    EXPECT_FALSE(MayFollowRedirect(L"HTTPS://a", L"http://a") ||
                 MayFollowRedirect(L"https://a", L""));
}

TEST(Addresses, SiteIsTheFirstItemOfTheComments) {
    EXPECT_EQ(SiteAddressOf(L"http://www.example.com, support@example.com"),
              L"http://www.example.com");
    EXPECT_EQ(SiteAddressOf(L"http://a.example, b, c"), L"http://a.example");
    EXPECT_EQ(SiteAddressOf(L"http://www.example.com"), L"http://www.example.com");
    EXPECT_EQ(SiteAddressOf(L"http://x.example,y"), L"http://x.example,y");
    EXPECT_EQ(SiteAddressOf(L""), L"");
}

TEST(Addresses, VersionFileFollowsTheProgramNameButTheSetupDoesNot) {
    EXPECT_EQ(VersionFileAddressOf(L"http://127.0.0.1:18080", L"Varnholt"),
              L"http://127.0.0.1:18080/Rurivur/Varnholt.js");
    EXPECT_EQ(VersionFileAddressOf(L"http://www.example.com", L"Client2"),
              L"http://www.example.com/Rurivur/Client2.js");
    EXPECT_EQ(VersionFileAddressOf(L"", L"Varnholt"), L"");
    EXPECT_EQ(SetupAddressOf(L"http://www.example.com"),
              L"http://www.example.com/Rurivur/Varnholt_Setup.exe");
}

TEST(AboutText, FiveLinesEndingInTheProgramsPath) {
    EXPECT_EQ(AboutMessageText(L"C:\\Program Files\\Quillbay\\Varnholt.exe"),
              L"This module is designed to expand the functionality\r\n"
              L"of the standard Windows CHM viewer.\r\n\r\n"
              L"The current path:\r\n"
              L"C:\\Program Files\\Quillbay\\Varnholt.exe");
    EXPECT_EQ(UpdateMessageLines(UpdateState::UpToDate, L"2.128"),
              L"\r\n\r\nThe product is up to date.");
    EXPECT_EQ(UpdateMessageLines(UpdateState::Behind, L"2.128"),
              L"\r\n\r\nAnother version (2.128) is now available:");
}

} // namespace
