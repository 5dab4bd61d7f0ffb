// The local test site the test build's update check asks (http://127.0.0.1:18080, started
// by the test bed): what it answers is set here, over HTTP.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

inline constexpr wchar_t TestSiteAddress[] = L"http://127.0.0.1:18080";

// No files, answering normally, empty request log. False when the site is not there.
bool ResetTestSite();
// The version file of the program named programName ("Varnholt"): /Rurivur/<name>.js.
void SetVersionFile(const std::string& programName, const std::string& body);
// How the site answers a GET: "normal"; "silent" (accepted, never answered); "trickle"
// (the file's bytes one a second); "trickle-unsized" and "trickle-chunked" (one byte every
// two seconds, without a length or as one-byte chunks).
void SetTestSiteMode(const std::string& mode);
// The site stops listening for ms milliseconds; returns once it no longer answers.
void PauseTestSite(DWORD ms);
// Waits until the site answers again (true) or timeoutMs pass.
bool WaitForTestSite(DWORD timeoutMs);
// The paths of the GET requests since the last reset.
std::vector<std::string> TestSiteRequests();
