// The program's version as text, and the caption of its message boxes.
#pragma once
#include <string>

struct ProgramVersion {
    int major = 0;
    int minor = 0;
    int revision = 0; // 0 = no revision
};

// The version this build carries (the same settings write the version resource).
ProgramVersion BuildVersion();

// Short form "2.127" (minor unpadded, "00" for 0); padded form "2.27" (minor as two
// digits from minor + 100, revision as four digits). A revision of 0 never shows.
std::wstring VersionText(const ProgramVersion& version, bool shortForm);
std::wstring VersionText(bool shortForm);

inline constexpr wchar_t ApplicationTitle[] = L"Quillbay Client";

// "Quillbay Client 2.127": the caption of every message box and of the About window.
std::wstring MessageCaption();
