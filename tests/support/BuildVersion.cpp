#include "tests/support/BuildVersion.h"

#include "BuildSettings.h"

#include <string>

namespace {

constexpr int Major = VARNHOLT_VERSION_MAJOR;
constexpr int Minor = VARNHOLT_VERSION_MINOR;
constexpr int Revision = VARNHOLT_VERSION_REVISION;

} // namespace

std::wstring ShortVersion() {
    std::wstring text = std::to_wstring(Major) + L"." + (Minor ? std::to_wstring(Minor) : L"00");
    return Revision ? text + L"." + std::to_wstring(Revision) : text;
}

std::wstring MessageBoxCaption() {
    return L"Quillbay Client " + ShortVersion();
}

std::wstring PaddedVersionOf(int major, int minor, int revision) {
    std::wstring text = std::to_wstring(major) + L"." + std::to_wstring(minor + 100).substr(1);
    return revision ? text + L"." + std::to_wstring(revision + 10000).substr(1) : text;
}

std::wstring PaddedVersion() {
    return PaddedVersionOf(Major, Minor, Revision);
}

std::wstring FileVersion() {
    return std::to_wstring(Major) + L"." + std::to_wstring(Minor) + L".0." +
           std::to_wstring(Revision);
}

std::wstring NextVersion() {
    return std::to_wstring(Major) + L"." + std::to_wstring(Minor + 1);
}

std::wstring OlderByPartsButLargerAsNumber() {
    // The minor without its last digit, one up: 127 gives 13.
    const std::wstring minor = std::to_wstring(Minor);
    if (minor.size() < 2)
        return {};
    const std::wstring shorter = std::to_wstring(std::stoi(minor.substr(0, minor.size() - 1)) + 1);
    const bool larger = std::stod(L"0." + shorter) > std::stod(L"0." + minor);
    if (std::stoi(shorter) >= Minor || !larger)
        return {};
    return std::to_wstring(Major) + L"." + shorter;
}
