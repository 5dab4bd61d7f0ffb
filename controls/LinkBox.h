// LinkBox: a one-line hyperlink control. Its caption label shows the link in the link
// colours with a hand pointer, underlines while the mouse is over it (hot tracking),
// and a click opens the caption or Path through the shell. The hosting window keeps the
// control's tool-tip text and help id, stores its properties and receives its events.
#pragma once
#include "controls/LinkAccessible.h"
#include "controls/LinkBoxPersistence.h"
#include "platform/Geometry.h"
#include "platform/WindowClass.h"
#include "platform/WindowHandles.h"

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>

class LinkBox;

// Mouse and key arguments: Button 1 left, 2 right, 4 middle; Shift 1 shift, 2 ctrl, 4 alt;
// x and y in pixels of the control.
class LinkBoxHost {
  public:
    virtual void LinkClick(LinkBox&) {}
    virtual void LinkKeyDown(LinkBox&, std::int16_t /*keyCode*/, std::int16_t /*shift*/) {}
    virtual void LinkKeyUp(LinkBox&, std::int16_t /*keyCode*/, std::int16_t /*shift*/) {}
    virtual void LinkKeyPress(LinkBox&, std::int16_t /*keyAscii*/) {}
    virtual void LinkMouseDown(LinkBox&, std::int16_t /*button*/, std::int16_t /*shift*/,
                               float /*x*/, float /*y*/) {}
    virtual void LinkMouseMove(LinkBox&, std::int16_t /*button*/, std::int16_t /*shift*/,
                               float /*x*/, float /*y*/) {}
    virtual void LinkMouseUp(LinkBox&, std::int16_t /*button*/, std::int16_t /*shift*/, float /*x*/,
                             float /*y*/) {}
    // A property changed, so the design data would be saved again.
    virtual void LinkPropertyChanged(LinkBox&, const std::wstring& /*name*/) {}
    // What the host keeps for the control.
    virtual std::wstring LinkToolTipText(const LinkBox&) const { return {}; }
    virtual DWORD LinkHelpId(const LinkBox&) const { return 0; }

  protected:
    ~LinkBoxHost() = default;
};

class LinkBox final : public LinkBoxState {
  public:
    static constexpr wchar_t ClassName[] = L"VarnholtLinkBox";
    static constexpr wchar_t LabelClassName[] = L"VarnholtLinkLabel";
    static constexpr UINT_PTR HotTrackingTimer = 1;
    // Posted to the control: do what a click does (a screen reader's default action).
    static constexpr UINT ClickMessage = WM_APP + 1;

    // A hidden child control of parent; call InitializeNew or Restore next.
    LinkBox(HWND parent, int id, const Box& bounds, LinkBoxHost& host);
    LinkBox(const LinkBox&) = delete;
    LinkBox& operator=(const LinkBox&) = delete;

    // Hooks of the host.
    void InitializeNew() { InitializeLinkBox(*this); }
    void Restore(const PropertyBag& bag) { RestoreLinkBox(bag, *this); }
    void Save(PropertyBag& bag) const { SaveLinkBox(*this, bag); }

    // Properties.
    std::int32_t Alignment() const override { return alignment_; }
    void SetAlignment(std::int32_t value) override;
    bool AutoSize() const override { return autoSize_; }
    void SetAutoSize(bool value);
    std::uint32_t BackColor() const override { return backColor_; }
    void SetBackColor(std::uint32_t value) override;
    std::wstring Caption() const override { return caption_; }
    void SetCaption(const std::wstring& value);
    bool CaptionIsPath() const override { return captionIsPath_; }
    void SetCaptionIsPath(bool value) override;
    bool Enabled() const override;
    void SetEnabled(bool value) override;
    LinkFont Font() const override { return font_; }
    void SetFont(const LinkFont& value) override;
    std::uint32_t ForeColor() const override { return foreColor_; }
    void SetForeColor(std::uint32_t value) override;
    bool HotTracking() const override { return hotTracking_; }
    void SetHotTracking(bool value) override;
    std::wstring Path() const override { return path_; }
    void SetPath(const std::wstring& value) override;
    HDC hDC() const;
    HWND hWnd() const { return window_.get(); }
    std::wstring Version() const;

    // Methods.
    void AboutBox() const;
    // What a click on the label does: raise Click, then open the target. The host calls
    // it for the keys that open the link (Enter, Space); the control's own keys only
    // raise the key events.
    void PerformClick() { OnClick(); }
    void SetToolTipText(const std::optional<std::wstring>& text = std::nullopt);
    std::int32_t TextHeight(const std::wstring& text) const;
    std::int32_t TextWidth(const std::wstring& text) const;

    // The caption label as it is shown: a caption wider than the label ends in "...".
    HWND LabelWindow() const { return label_.get(); }
    std::wstring ShownCaption() const;
    LinkFont LabelFont() const override { return labelFont_; }
    bool CaptionUnderlined() const { return labelFont_.underline; }
    bool HotTrackingTimerRunning() const { return timerRunning_; }
    std::wstring LabelToolTipText() const { return toolTip_; }

    // The control's and the label's messages (platform/WindowClass.h: WindowProcOf).
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnWindowGone(const ObjectWindow<LinkBox>& gone);

  private:
    // Straight to the label or the field, as restoring wants it.
    void SetLabelAutoSize(bool value) override { autoSize_ = value; }
    void SetLabelCaption(const std::wstring& value) override;
    void StoreCaptionIsPath(bool value) override { captionIsPath_ = value; }
    void StoreHotTracking(bool value) override { hotTracking_ = value; }

  private:
    LRESULT OnControlMessage(UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnLabelMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void OnLabelPaint();
    UINT CaptionFormat() const;
    void OnLabelMouse(UINT message, WPARAM wParam, LPARAM lParam);
    void OnClick();
    void OnHotTrackingTick();
    void OnShow();

    void Layout();
    void SetUnderline(bool on);
    void EnableHotTrackingTimer(bool on);
    void CreateFonts();
    void ReportChange(const wchar_t* name) { host_.LinkPropertyChanged(*this, name); }

    LinkBoxHost& host_;
    HWND toolTips_ = nullptr; // owned by window_, destroyed with it
    UniqueGdiObject controlFontHandle_;
    UniqueGdiObject labelFontHandle_;

    // caption label
    std::int16_t alignment_ = 0;
    bool autoSize_ = false;
    std::uint32_t backColor_ = ButtonFaceColor;
    std::uint32_t foreColor_ = LinkBlue;
    std::wstring caption_;
    LinkFont labelFont_ = LabelDesignFont();
    std::wstring toolTip_;
    // the control
    LinkFont font_ = LabelDesignFont();
    bool captionIsPath_ = false;
    std::wstring path_;
    bool hotTracking_ = false;
    bool timerRunning_ = false;
    bool mouseDown_ = false;
    LinkAccessibility accessibility_{*this};
    // Last, so that they go first: the control and its caption label, a child of it.
    ObjectWindow<LinkBox> window_{*this};
    ObjectWindow<LinkBox> label_{*this};
};
