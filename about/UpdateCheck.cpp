#include "about/UpdateCheck.h"

#include "text/CaseFold.h"
#include "text/Numbers.h"
#include "text/TextUtil.h"

namespace {

constexpr std::wstring_view Blanks = L" \t\r\n";

bool IsHttpsAddress(std::wstring_view address) {
    return EqualsAsciiNoCase(address.substr(0, 8), L"https://");
}

} // namespace

std::wstring SiteAddressOf(std::wstring_view comments) {
    // ", " has no letters, so the case-insensitive match is the exact one.
    return TextBefore(comments, L", ");
}

std::wstring VersionFileAddressOf(std::wstring_view site, std::wstring_view programName) {
    if (site.empty())
        return {};
    return std::wstring(site) + L"/Rurivur/" + std::wstring(programName) + L".js";
}

std::wstring SetupAddressOf(std::wstring_view site) {
    return std::wstring(site) + L"/Rurivur/Varnholt_Setup.exe";
}

std::wstring VersionNumberIn(std::wstring_view text) {
    const std::wstring_view number = TrimText(text, TextEnds::Both, Blanks);
    int parts = 1;
    int digits = 0;
    for (const wchar_t c : number) {
        if (c == L'.') {
            if (digits == 0 || ++parts > 4)
                return {};
            digits = 0;
        } else if (c < L'0' || c > L'9' || ++digits > 5) {
            return {};
        }
    }
    return digits == 0 ? std::wstring() : std::wstring(number);
}

VersionFileReading ReadVersionFile(std::wstring_view body, std::wstring_view currentVersion) {
    VersionFileReading reading;
    if (body.empty())
        return reading;
    reading.setupSize = LeadingNumber(GetKeyValue(body, L"Size", L";"));
    // Blanks before the ";" are left out before the quotes come off.
    const std::wstring value = GetKeyValue(body, L"Version", L";");
    std::wstring_view latest = TrimText(value, TextEnds::Both, Blanks);
    if (!latest.empty() && latest.front() == L'"')
        latest = latest.substr(1, MaxOf(static_cast<std::int64_t>(latest.size()) - 2, 0));
    reading.latestVersion = VersionNumberIn(latest);
    if (!reading.latestVersion.empty() && !currentVersion.empty())
        reading.result = CompareVersions(currentVersion, reading.latestVersion) < 0
                             ? VersionAnswer::Newer
                             : VersionAnswer::NotNewer;
    return reading;
}

bool ClientIsBehind(VersionAnswer answer, const ProgramVersion& version,
                    std::wstring_view latestVersion) {
    if (answer == VersionAnswer::Newer)
        return true;
    const std::wstring own = std::to_wstring(version.major) + L"." + std::to_wstring(version.minor);
    return LeadingNumber(own) < LeadingNumber(latestVersion);
}

UpdateState DecideUpdate(bool siteAsked, VersionAnswer answer, const ProgramVersion& version,
                         std::wstring_view latestVersion) {
    if (ClientIsBehind(answer, version, latestVersion))
        return UpdateState::Behind;
    return siteAsked && answer == VersionAnswer::None ? UpdateState::Unchecked
                                                      : UpdateState::UpToDate;
}

bool IsRedirectStatus(unsigned long status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

bool MayFollowRedirect(std::wstring_view from, std::wstring_view to) {
    return !IsHttpsAddress(from) || IsHttpsAddress(to);
}

std::wstring AboutMessageText(std::wstring_view programPath) {
    return L"This module is designed to expand the functionality\r\n"
           L"of the standard Windows CHM viewer.\r\n"
           L"\r\n"
           L"The current path:\r\n" +
           std::wstring(programPath);
}

std::wstring UpdateMessageLines(UpdateState state, std::wstring_view latestVersion) {
    switch (state) {
    case UpdateState::Behind:
        return L"\r\n\r\nAnother version (" + std::wstring(latestVersion) + L") is now available:";
    case UpdateState::Unchecked:
        return L"\r\n\r\nThe newest version could not be checked.";
    case UpdateState::UpToDate:
        break;
    }
    return L"\r\n\r\nThe product is up to date.";
}
