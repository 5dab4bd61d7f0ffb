// What a screen reader hears of the link control: an MSAA object (IAccessible) that the
// control hands out for WM_GETOBJECT. Role link, its address as name and value, the
// states focusable, focused and linked as they are, and the default action "Jump", which
// does what a click does.
#pragma once
#include "platform/ComHandles.h"

#include <optional>

class LinkBox;

class LinkAccessible;

// Owns the control's accessible object: made on the first request, cut off from the
// control when the control goes (a screen reader may still hold it then).
class LinkAccessibility {
  public:
    explicit LinkAccessibility(LinkBox& link); // out of line: the object's type is the .cpp's
    LinkAccessibility(const LinkAccessibility&) = delete;
    LinkAccessibility& operator=(const LinkAccessibility&) = delete;
    ~LinkAccessibility();

    // The answer to WM_GETOBJECT for the control's client area; 0 (the system's own
    // answer) for any other object id.
    LRESULT Answer(WPARAM wParam, LPARAM lParam);

  private:
    LinkBox& link_;
    std::optional<ComApartment> apartment_; // first in, last out
    ComPtr<LinkAccessible> object_;
};
