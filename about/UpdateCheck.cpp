#include "about/UpdateCheck.h"

#include "text/Numbers.h"
#include "text/TextUtil.h"

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

VersionFileReading ReadVersionFile(std::wstring_view body, std::wstring_view currentVersion) {
    VersionFileReading reading;
    if (body.empty())
        return reading;
    reading.setupSize = LeadingNumber(GetKeyValue(body, L"Size", L";"));
    std::wstring latest = GetKeyValue(body, L"Version", L";");
    if (!latest.empty() && latest.front() == L'"')
        latest = latest.substr(1, MaxOf(static_cast<std::int64_t>(latest.size()) - 2, 0));
    reading.latestVersion = latest;
    if (!latest.empty() && !currentVersion.empty())
        reading.result = CompareVersions(currentVersion, latest) < 0 ? VersionAnswer::Newer
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

std::wstring NewestVersionArgument(std::wstring_view argument) {
    const std::size_t first = argument.find_first_not_of(L" \t");
    if (first == std::wstring_view::npos || argument[first] < L'0' || argument[first] > L'9')
        return {};
    const std::size_t last = argument.find_last_not_of(L" \t");
    return std::wstring(argument.substr(first, last - first + 1));
}

std::wstring AboutMessageText(std::wstring_view programFolder, std::wstring_view programName) {
    return L"This module is designed to expand the functionality\r\n"
           L"of the standard Windows CHM viewer.\r\n"
           L"\r\n"
           L"The current path:\r\n" +
           std::wstring(programFolder) + L"\\" + std::wstring(programName) + L".exe";
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
