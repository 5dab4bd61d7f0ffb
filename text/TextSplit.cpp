#include "text/TextSplit.h"

std::vector<std::wstring> SplitText(std::wstring_view text, std::wstring_view separator) {
    std::vector<std::wstring> parts;
    ForEachPart(text, separator, [&](std::wstring_view part) { parts.emplace_back(part); });
    return parts;
}

std::vector<std::wstring> SplitLines(std::wstring_view text) {
    std::vector<std::wstring> lines;
    ForEachLine(text, [&](std::wstring_view line) { lines.emplace_back(line); });
    return lines;
}
