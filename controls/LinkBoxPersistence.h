// How a hosting window stores the link control: ten named values, always all ten, in a
// fixed order, read back one by one so that a value that cannot be read or applied is
// passed over and the others still arrive.
#pragma once
#include "platform/FontDesign.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

using LinkFont = FontDesign;

// "MS Sans Serif;8.25;400;0;1;0;204" (name, size, weight, italic, underline, strikethrough,
// character set).
std::wstring FontToText(const LinkFont& font);
std::optional<LinkFont> FontFromText(std::wstring_view text);

// The hosting window's design data: named text values in the order written; names match
// without regard to case, and a second write of a name replaces its value in place.
class PropertyBag {
  public:
    void Write(std::wstring_view name, std::wstring value);
    std::optional<std::wstring> Read(std::wstring_view name) const;
    const std::vector<std::pair<std::wstring, std::wstring>>& Entries() const { return entries_; }

  private:
    std::vector<std::pair<std::wstring, std::wstring>> entries_;
};

// What saving and restoring need of a control: the property values, the setters, and
// the straight ways to the label and the fields that some values take on restore.
class LinkBoxState {
  public:
    virtual std::int32_t Alignment() const = 0;
    virtual void SetAlignment(std::int32_t value) = 0; // throws on a value outside 0..2
    virtual bool AutoSize() const = 0;
    virtual void SetLabelAutoSize(bool value) = 0;
    virtual std::uint32_t BackColor() const = 0;
    virtual void SetBackColor(std::uint32_t value) = 0;
    virtual std::wstring Caption() const = 0;
    virtual void SetLabelCaption(const std::wstring& value) = 0;
    virtual bool CaptionIsPath() const = 0;
    virtual void SetCaptionIsPath(bool value) = 0;
    virtual void StoreCaptionIsPath(bool value) = 0;
    virtual bool Enabled() const = 0;
    virtual void SetEnabled(bool value) = 0;
    virtual LinkFont Font() const = 0;      // the control's font
    virtual LinkFont LabelFont() const = 0; // the label's, underline as shown
    virtual void SetFont(const LinkFont& value) = 0;
    virtual std::uint32_t ForeColor() const = 0;
    virtual void SetForeColor(std::uint32_t value) = 0;
    virtual bool HotTracking() const = 0;
    virtual void SetHotTracking(bool value) = 0;
    virtual void StoreHotTracking(bool value) = 0;
    virtual std::wstring Path() const = 0;
    virtual void SetPath(const std::wstring& value) = 0;

  protected:
    ~LinkBoxState() = default;
};

// The link colours and font the caption label is designed with.
inline constexpr std::uint32_t LinkBlue = 0x00FF0000;        // red 0, green 0, blue 255
inline constexpr std::uint32_t ButtonFaceColor = 0x8000000F; // system colour 15
LinkFont LabelDesignFont(); // MS Sans Serif 8.25 pt, underlined, Cyrillic

void SaveLinkBox(const LinkBoxState& control, PropertyBag& bag);
// Never fails: every value that is missing takes its default, every one that cannot be
// read or applied is skipped.
void RestoreLinkBox(const PropertyBag& bag, LinkBoxState& control);
// A control placed on a window for the first time.
void InitializeLinkBox(LinkBoxState& control);
