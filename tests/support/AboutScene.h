// The client's About window as the end-to-end tests meet it: the test site's answer set,
// the client started until its About window is up, and what the window shows read
// through Win32, as any other program would read it.
#pragma once
#include "tests/support/BuildVersion.h"
#include "tests/support/Process.h"
#include "tests/support/TestSite.h"
#include "tests/support/ViewerLog.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

inline const std::wstring TestSetupAddress = L"http://127.0.0.1:18080/Rurivur/Varnholt_Setup.exe";
// The version files of the test site: a newer version, and this build's own.
inline const std::string NextVersionFile = "Version=" + ToUtf8(NextVersion()) + ";";
inline const std::string SameVersionFile = "Version=" + ToUtf8(ShortVersion()) + ";";
// The window's last line: a newer version (with the link below), none, or no answer.
std::wstring NewerLine(const std::wstring& version);
inline const std::wstring Newer = NewerLine(NextVersion());
inline const std::wstring UpToDate = L"The product is up to date.";
inline const std::wstring Unchecked = L"The newest version could not be checked.";

// The lines of a text, split at CR LF.
std::vector<std::wstring> Lines(const std::wstring& text);
// The whole text of the window of the program at path that ends in lastLine.
std::wstring AboutText(const std::wstring& path, const std::wstring& lastLine);

struct AboutView {
    HWND window = nullptr;
    std::wstring caption;
    RECT frame{};
    RECT client{};
    HWND message = nullptr, link = nullptr, ok = nullptr, icon = nullptr;
    std::wstring text;
    std::wstring linkCaption;
    bool linkVisible = false;
    std::wstring okText;
    std::wstring LastLine() const { return Lines(text).back(); }
};
// The About window's controls, texts and rectangles (frame on the screen, client area).
AboutView ReadAboutWindow(HWND window);

// What the test site answers the update check, as a maker's site, a broken one or anyone
// on the reader's network would: the version file of program (none when body is empty)
// with its status, how the site answers (SetTestSiteMode), whether the test authority is
// trusted, and for how long no site is there at all.
struct SiteAnswer {
    std::string body;
    int status = 200;
    std::string mode = "normal";
    bool trusted = false;
    DWORD absentMs = 0;
    std::string program = "Varnholt";
};

// Each test with the test site up and reset; the client it starts is ended after it.
class AboutWindowTest : public ::testing::Test {
  protected:
    void SetUp() override;
    void TearDown() override;
    // Sets what the site answers; the authority stays trusted until the test ends.
    void Answer(const SiteAnswer& answer);
    // Starts the program and waits for its About window; no window (0) when none came.
    AboutView Open(const std::wstring& arguments, DWORD timeoutMs = 20000,
                   const std::wstring& program = VarnholtPath());
    // The window for a newer version in versionFile, its link shown, in front; no window
    // (0) otherwise, a failure saying why.
    AboutView OpenWithLink(const std::string& versionFile = NextVersionFile);
    // The program ends, with 0, once its window is closed.
    void ExpectEnd();

    ChildProcess client;
    std::optional<TrustedTestAuthority> trust;
};
