// This build's version as a reader sees it, from the numbers the build sets (the
// project() line of CMakeLists.txt), so that a version bump edits no test.
#pragma once
#include <string>

// "2.127" (minor unpadded, "00" for 0, ".revision" when there is one)
std::wstring ShortVersion();
// "Quillbay Client 2.127": every message box's and the About window's caption.
std::wstring MessageBoxCaption();
// "2.27": minor as two digits, the form the link control names ("2.27.0001" with a
// revision, four digits).
std::wstring PaddedVersion();
std::wstring PaddedVersionOf(int major, int minor, int revision);
// "2.127.0.0": the file version of the resource and the manifest.
std::wstring FileVersion();
// "2.128": the next minor version, newer than this build.
std::wstring NextVersion();
// "2.13": a version that is older part by part (13 < 127) yet a larger number (2.13 >
// 2.127): the About window's two tests disagree on it. Empty when the minor number has
// fewer than two digits.
std::wstring OlderByPartsButLargerAsNumber();
