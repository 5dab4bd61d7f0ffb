// The update check's Windows side: this program's addresses on the maker's site, and the
// download of its version file over WinINet, on the user-interface thread.
#pragma once
#include "about/UpdateCheck.h"

#include <cstddef>
#include <cstdint>
#include <string>

std::wstring SiteAddress();
std::wstring VersionFileAddress();
std::wstring SetupAddress();

// Downloads url and reads it as a version file. latestVersion and setupSize are written
// only when some text was received with status 200. A download that has not ended within
// DownloadLimitMs (of which waitedMs, the reader's wait so far, are gone already), whose
// body passes DownloadLimitBytes, whose status is another, or that a redirect would take
// from https to http, counts as no answer. Where the check gives up, one line for a
// debugger (OutputDebugString) names the step and why: "Varnholt update check gave up at
// <step>: error <n>" (the system's error), "... at the status: 404", "... at the version
// file: no version number".
inline constexpr unsigned DownloadLimitMs = 10000;
inline constexpr std::size_t DownloadLimitBytes = 64 * 1024;
VersionAnswer CheckLatestVersion(const std::wstring& url, const std::wstring& currentVersion,
                                 std::wstring& latestVersion, double* setupSize = nullptr,
                                 unsigned waitedMs = 0);
