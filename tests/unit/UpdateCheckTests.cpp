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

TEST(VersionFile, NewerVersionWithSize) {
    const VersionFileReading reading = ReadVersionFile(L"Version=2.128;Size=900;", L"2.127");
    EXPECT_EQ(reading.result, VersionAnswer::Newer);
    EXPECT_EQ(reading.latestVersion, L"2.128");
    EXPECT_EQ(reading.setupSize, 900.0);
    EXPECT_EQ(ClosingLine(L"Version=2.128;Size=900;"),
              L"\r\n\r\nAnother version (2.128) is now available:");
}

TEST(VersionFile, QuotesAroundTheVersionAreRemoved) {
    const VersionFileReading reading = ReadVersionFile(L"Version=\"2.128\";Size=900;", L"2.127");
    EXPECT_EQ(reading.result, VersionAnswer::Newer);
    EXPECT_EQ(reading.latestVersion, L"2.128");
    EXPECT_EQ(ClosingLine(L"Version=\"2.128\";Size=900;"),
              L"\r\n\r\nAnother version (2.128) is now available:");
    // A lone quote becomes empty, and so no answer; an opening quote alone loses its
    // last character with it.
    EXPECT_EQ(ReadVersionFile(L"Version=\";", L"2.127").latestVersion, L"");
    EXPECT_EQ(ReadVersionFile(L"Version=\";", L"2.127").result, VersionAnswer::None);
    EXPECT_EQ(ReadVersionFile(L"Version=\"2.128;", L"2.127").latestVersion, L"2.12");
}

TEST(VersionFile, OwnOrOlderVersionIsUpToDate) {
    EXPECT_EQ(ReadVersionFile(L"Version=2.127;Size=900;", L"2.127").result,
              VersionAnswer::NotNewer);
    EXPECT_EQ(ReadVersionFile(L"Version=2.100;", L"2.127").result, VersionAnswer::NotNewer);
    EXPECT_EQ(ClosingLine(L"Version=2.127;Size=900;"), L"\r\n\r\nThe product is up to date.");
}

TEST(VersionFile, BlanksAroundTheEqualsSignAreSkippedButBlanksBeforeTheSemicolonStay) {
    const VersionFileReading reading = ReadVersionFile(L"Version  =  2.128 ;Size = 12", L"2.127");
    EXPECT_EQ(reading.latestVersion, L"2.128 ");
    EXPECT_EQ(reading.result, VersionAnswer::Newer);
    EXPECT_EQ(reading.setupSize, 12.0);
}

TEST(VersionFile, KeysInAnyCaseAndAmongOtherText) {
    const VersionFileReading reading =
        ReadVersionFile(L"// version file\r\nvar SIZE=77; var version=3.0;\r\n", L"2.127");
    EXPECT_EQ(reading.latestVersion, L"3.0");
    EXPECT_EQ(reading.setupSize, 77.0);
    EXPECT_EQ(reading.result, VersionAnswer::Newer);
}

TEST(VersionFile, BodyWithoutVersionIsNoAnswer) {
    const std::wstring errorPage =
        L"<html><head><title>404 Not Found</title></head><body>Not Found</body></html>";
    const VersionFileReading reading = ReadVersionFile(errorPage, L"2.127");
    EXPECT_EQ(reading.result, VersionAnswer::None);
    EXPECT_EQ(reading.latestVersion, L"");
    EXPECT_EQ(reading.setupSize, 0.0);
    EXPECT_EQ(ClosingLine(errorPage), L"\r\n\r\nThe newest version could not be checked.");
    EXPECT_EQ(ClosingLine(L""), L"\r\n\r\nThe newest version could not be checked.");
}

TEST(VersionFile, EmptyBodyOrNoCurrentVersionIsNoAnswer) {
    EXPECT_EQ(ReadVersionFile(L"", L"2.127").result, VersionAnswer::None);
    const VersionFileReading reading = ReadVersionFile(L"Version=2.128;Size=5", L"");
    EXPECT_EQ(reading.result, VersionAnswer::None);
    EXPECT_EQ(reading.latestVersion, L"2.128");
    EXPECT_EQ(reading.setupSize, 5.0);
}

TEST(OnLoadDecision, TheNumericTestCatchesWhatTheComparisonMisses) {
    // Component by component 2.127 is newer than 2.13; as numbers it is older.
    const VersionFileReading reading = ReadVersionFile(L"Version=2.13;", L"2.127");
    EXPECT_EQ(reading.result, VersionAnswer::NotNewer);
    EXPECT_TRUE(ClientIsBehind(reading.result, Client, reading.latestVersion));
    EXPECT_EQ(ClosingLine(L"Version=2.13;"), L"\r\n\r\nAnother version (2.13) is now available:");
}

TEST(VersionFile, HugeNumbersFromTheSiteAreReadNotFatal) {
    // The site's text is outside the program's control: numbers too large for any
    // integer are only compared, never an error that ends the run.
    const std::wstring body = L"Version=&H100000000;Size=&HFFFFFFFFFFFF;";
    const VersionFileReading reading = ReadVersionFile(body, L"2.127");
    EXPECT_EQ(reading.latestVersion, L"&H100000000");
    EXPECT_GT(reading.setupSize, 4294967295.0);
    EXPECT_TRUE(ClientIsBehind(reading.result, Client, reading.latestVersion));
    EXPECT_EQ(ClosingLine(body), L"\r\n\r\nAnother version (&H100000000) is now available:");
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

TEST(OnLoadDecision, OnlyAVerArgumentThatBeginsWithADigitNamesTheNewestVersion) {
    EXPECT_EQ(NewestVersionArgument(L"  2.5 "), L"2.5");
    EXPECT_EQ(NewestVersionArgument(L"\t3"), L"3");
    EXPECT_EQ(NewestVersionArgument(L" 9.1"), L"9.1");
    EXPECT_EQ(NewestVersionArgument(L"0.5"), L"0.5");
    EXPECT_EQ(NewestVersionArgument(L"sion"), L""); // "/version"
    EXPECT_EQ(NewestVersionArgument(L" x"), L"");
    EXPECT_EQ(NewestVersionArgument(L" .5"), L"");
    EXPECT_EQ(NewestVersionArgument(L"   "), L"");
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

TEST(AboutText, FiveLinesWithThePathAlwaysEndingInExe) {
    EXPECT_EQ(AboutMessageText(L"C:\\Program Files\\Quillbay", L"Varnholt"),
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
