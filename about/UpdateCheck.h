// The update check's rules: where the maker's site keeps the version file and the setup,
// what a version file says against the client's own version, and the lines the About
// window shows for it. The download itself is SiteCheck's.
#pragma once
#include "platform/VersionText.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// The first item of the Comments field ("site, mail"): the text before the first ", ".
std::wstring SiteAddressOf(std::wstring_view comments);
// site + "/Rurivur/" + program name + ".js"; empty when there is no site.
std::wstring VersionFileAddressOf(std::wstring_view site, std::wstring_view programName);
// site + "/Rurivur/Varnholt_Setup.exe" (fixed, whatever the program file is called).
std::wstring SetupAddressOf(std::wstring_view site);

// What the site's version file says of the client's version.
enum class VersionAnswer {
    None,     // no answer: nothing received, no Version value, or no version to compare
    NotNewer, // the site's version is not newer
    Newer,    // the site's version is newer
};

// The version number text holds, blanks and line breaks around it left out: one to four
// parts of one to five digits each, separated by dots, the versions CompareVersions reads;
// empty when the text holds anything else. Only such a number of a site's answer (or of a
// /ver argument) ever reaches the About window: the site's other words, a phone number or
// an address, never do.
std::wstring VersionNumberIn(std::wstring_view text);

struct VersionFileReading {
    VersionAnswer result = VersionAnswer::None;
    std::wstring latestVersion;
    double setupSize = 0;
};
// The body is the received text; an empty body gives no answer and leaves the outputs
// empty. latestVersion is the Version value (its quotes removed) when that is a version
// number, else empty, and then there is no answer.
VersionFileReading ReadVersionFile(std::wstring_view body, std::wstring_view currentVersion);

// The client is behind when the check said so, or when its major.minor, read as a number,
// is below the number at the start of latestVersion (2.127 < 2.13).
bool ClientIsBehind(VersionAnswer answer, const ProgramVersion& version,
                    std::wstring_view latestVersion);

// What the About window can say of the newest version.
enum class UpdateState {
    Behind,    // another version is available
    UpToDate,  // the site (or the version given) names no newer one
    Unchecked, // the site was asked and no answer came
};
// siteAsked: whether the check went to the site (it does not when the newest version is
// already known).
UpdateState DecideUpdate(bool siteAsked, VersionAnswer answer, const ProgramVersion& version,
                         std::wstring_view latestVersion);

// Redirects of the version file's request: the statuses that send the request elsewhere,
// and whether one from `from` to `to` may be followed. An answer asked over https never
// comes over plain http, where anyone on the reader's network can write it.
inline constexpr int MaxRedirects = 5;
bool IsRedirectStatus(unsigned long status);
bool MayFollowRedirect(std::wstring_view from, std::wstring_view to);

// Lines 1 to 5 of the About text: what the client is for and the program's path
// (ProgramPath(), which always ends in ".exe").
std::wstring AboutMessageText(std::wstring_view programPath);
// The two line breaks and the closing line of the About text.
std::wstring UpdateMessageLines(UpdateState state, std::wstring_view latestVersion);
