#include "controls/LinkBoxRules.h"

#include "text/TextUtil.h"

std::wstring ClickTarget(std::wstring_view caption, bool captionIsPath, std::wstring_view path) {
    if (!path.empty() && !captionIsPath)
        return std::wstring(path);
    if (!caption.empty() && captionIsPath)
        return std::wstring(caption);
    return {};
}

std::wstring LinkBoxVersion(const ProgramVersion& version) {
    std::wstring text = L" " + std::to_wstring(version.major) + L"." +
                        std::to_wstring(version.minor + 100).substr(1);
    if (version.revision > 0)
        text += L"." + std::to_wstring(version.revision + 10000).substr(1);
    return text;
}

bool CursorIsInside(std::int32_t x, std::int32_t y, const ScreenRect& rect) {
    return IsBetween(y, rect.top, rect.bottom) && IsBetween(x, rect.left, rect.right);
}

LinkLayout LayoutLinkBox(bool autoSize, Extent control, Extent fittedLabel) {
    if (autoSize)
        return {fittedLabel, fittedLabel};
    return {control, control};
}

std::vector<Extent> SizeSteps(Extent current, Extent wanted) {
    std::vector<Extent> steps;
    if (current.width != wanted.width) {
        current.width = wanted.width;
        steps.push_back(current);
    }
    if (current.height != wanted.height) {
        current.height = wanted.height;
        steps.push_back(current);
    }
    return steps;
}
