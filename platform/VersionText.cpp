#include "platform/VersionText.h"

#include "BuildSettings.h"

ProgramVersion BuildVersion() {
    return {VARNHOLT_VERSION_MAJOR, VARNHOLT_VERSION_MINOR, VARNHOLT_VERSION_REVISION};
}

namespace {

// The decimal text of value + base without its first digit.
std::wstring WithoutFirstDigit(int value, int base) {
    return std::to_wstring(value + base).substr(1);
}

} // namespace

std::wstring VersionText(const ProgramVersion& v, bool shortForm) {
    std::wstring text = std::to_wstring(v.major) + L".";
    if (shortForm) {
        text += v.minor > 0 ? std::to_wstring(v.minor) : L"00";
        if (v.revision > 0)
            text += L"." + std::to_wstring(v.revision);
    } else {
        text += WithoutFirstDigit(v.minor, 100);
        if (v.revision > 0)
            text += L"." + WithoutFirstDigit(v.revision, 10000);
    }
    return text;
}

std::wstring VersionText(bool shortForm) {
    return VersionText(BuildVersion(), shortForm);
}

std::wstring MessageCaption() {
    return std::wstring(ApplicationTitle) + L" " + VersionText(true);
}
