#include "controls/LinkBoxRules.h"

#include "text/TextUtil.h"

std::wstring ClickTarget(std::wstring_view caption, bool captionIsPath, std::wstring_view path) {
    if (!path.empty() && !captionIsPath)
        return std::wstring(path);
    if (!caption.empty() && captionIsPath)
        return std::wstring(caption);
    return {};
}

bool CursorIsInside(std::int32_t x, std::int32_t y, const ScreenRect& rect) {
    return IsBetween(y, rect.top, rect.bottom) && IsBetween(x, rect.left, rect.right);
}

LinkLayout LayoutLinkBox(bool autoSize, Extent control, Extent fittedLabel) {
    if (autoSize)
        return {fittedLabel, fittedLabel};
    return {control, control};
}
