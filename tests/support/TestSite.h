// The local test site the test build's update check asks (http://127.0.0.1:18080, started
// by the test bed): what it answers is set here, over HTTP.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

inline constexpr wchar_t TestSiteAddress[] = L"http://127.0.0.1:18080";

// No files, answering normally, empty request log. False when the site is not there.
bool ResetTestSite();
// The version file of programName ("Varnholt"), /Rurivur/<name>.js, served with status.
void SetVersionFile(const std::string& programName, const std::string& body, int status = 200);
// How the site answers a GET: "normal"; "silent" (accepted, never answered); "trickle"
// (the file's bytes one a second); "trickle-unsized" and "trickle-chunked" (one byte every
// two seconds, without a length or as one-byte chunks); "redirect-to-https" (GETs sent on
// to https) and "redirect-to-http" (from https back).
void SetTestSiteMode(const std::string& mode);
// The site stops listening for ms milliseconds; returns once it no longer answers.
void PauseTestSite(DWORD ms);
// Waits until the site answers again (true) or timeoutMs pass.
bool WaitForTestSite(DWORD timeoutMs);
// The paths of the GET requests since the last reset ("https /..." for the https site).
std::vector<std::string> TestSiteRequests();

// The test bed's authority trusted in the prefix's Root store while this lives, then taken
// out with a commit (or Wine keeps it). A process keeps the trust it read first.
struct TrustedTestAuthority {
    TrustedTestAuthority();
    ~TrustedTestAuthority();
};
