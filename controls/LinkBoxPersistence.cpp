#include "controls/LinkBoxPersistence.h"

#include "text/CaseFold.h"
#include "text/Numbers.h"
#include "text/TextSplit.h"
#include "text/TextUtil.h"

#include <cfloat>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <limits>

namespace {

// A whole number as the hosting window writes one: digits, a "-" before them or none.
std::optional<std::int64_t> IntegerFromText(std::wstring_view text) {
    const auto value = ReadWholeNumber(text, {.sign = NumberSign::Minus, .fraction = false});
    if (!value || !(*value >= -0x1p63 && *value < 0x1p63))
        return std::nullopt;
    return static_cast<std::int64_t>(*value);
}

std::optional<std::int32_t> Int32FromText(std::wstring_view text) {
    const auto value = IntegerFromText(text);
    if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
        *value > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

std::optional<std::int16_t> Int16FromText(std::wstring_view text) {
    const auto value = IntegerFromText(text);
    if (!value || *value < std::numeric_limits<std::int16_t>::min() ||
        *value > std::numeric_limits<std::int16_t>::max())
        return std::nullopt;
    return static_cast<std::int16_t>(*value);
}

std::optional<bool> BoolFromText(std::wstring_view text) {
    if (EqualsNoCase(text, L"True"))
        return true;
    if (EqualsNoCase(text, L"False"))
        return false;
    if (const auto number = IntegerFromText(text))
        return *number != 0;
    return std::nullopt;
}

// A plain decimal number ("8.25", "1e1"): no blanks, signs, hexadecimal or infinities.
std::optional<double> SizeFromText(std::wstring_view text) {
    const auto value = ReadWholeNumber(text, {.sign = NumberSign::None, .exponent = true});
    if (!value || !(*value > 0) || *value > DBL_MAX)
        return std::nullopt;
    return value;
}

std::wstring BoolText(bool value) {
    return value ? L"True" : L"False";
}

std::wstring ColorText(std::uint32_t color) {
    return std::to_wstring(static_cast<std::int32_t>(color));
}

std::optional<std::uint32_t> ColorFromText(std::wstring_view text) {
    const auto value = Int32FromText(text);
    if (!value)
        return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

// The shortest text that reads back as the same number: plain ("8.25", "10") unless the
// exponent form is shorter ("1e+20").
std::wstring SizeText(double size) {
    const auto shortest = [size](const char* format) {
        char buffer[512] = {};
        for (int precision = 0; precision <= 17; ++precision) {
            std::snprintf(buffer, sizeof buffer, format, precision, size);
            if (std::strtod(buffer, nullptr) == size)
                break;
        }
        return std::string(buffer);
    };
    const std::string plain = shortest("%.*f");
    const std::string exponent = shortest("%.*g");
    const std::string& text = exponent.size() < plain.size() ? exponent : plain;
    return std::wstring(text.begin(), text.end());
}

// Reads one stored value and applies it; a missing value applies the fallback, a value
// that cannot be read or applied is skipped.
template <typename T, typename Parse, typename Apply>
void RestoreOne(const PropertyBag& bag, std::wstring_view name, Parse parse, const T& fallback,
                Apply apply) {
    try {
        const std::optional<std::wstring> stored = bag.Read(name);
        if (!stored) {
            apply(fallback);
            return;
        }
        const auto value = parse(*stored);
        if (value)
            apply(static_cast<T>(*value));
    } catch (const std::exception&) {
        // a value the control refuses leaves the property as it was
    }
}

} // namespace

std::wstring FontToText(const LinkFont& font) {
    return font.name + L";" + SizeText(font.size) + L";" + std::to_wstring(font.weight) + L";" +
           (font.italic ? L"1" : L"0") + L";" + (font.underline ? L"1" : L"0") + L";" +
           (font.strikethrough ? L"1" : L"0") + L";" + std::to_wstring(font.charset);
}

std::optional<LinkFont> FontFromText(std::wstring_view text) {
    // The six numbers are the last fields, so a name may hold anything but the separator.
    const std::vector<std::wstring> fields = SplitText(text, L";");
    if (fields.size() != 7 || fields[0].empty())
        return std::nullopt;
    const auto size = SizeFromText(fields[1]);
    const auto weight = Int32FromText(fields[2]);
    const auto italic = BoolFromText(fields[3]);
    const auto underline = BoolFromText(fields[4]);
    const auto strikethrough = BoolFromText(fields[5]);
    const auto charset = Int32FromText(fields[6]);
    if (!size || !weight || !italic || !underline || !strikethrough || !charset || *weight < 0 ||
        *weight > 1000 || *charset < 0 || *charset > 255)
        return std::nullopt;
    return LinkFont{std::wstring(fields[0]), *size,   *weight, *italic, *underline,
                    *strikethrough,          *charset};
}

void PropertyBag::Write(std::wstring_view name, std::wstring value) {
    for (auto& entry : entries_)
        if (EqualsNoCase(entry.first, name)) {
            entry.second = std::move(value);
            return;
        }
    entries_.emplace_back(std::wstring(name), std::move(value));
}

std::optional<std::wstring> PropertyBag::Read(std::wstring_view name) const {
    for (const auto& entry : entries_)
        if (EqualsNoCase(entry.first, name))
            return entry.second;
    return std::nullopt;
}

LinkFont LabelDesignFont() {
    LinkFont font;
    font.underline = true;
    return font;
}

void SaveLinkBox(const LinkBoxState& control, PropertyBag& bag) {
    bag.Write(L"Alignment", std::to_wstring(control.Alignment()));
    bag.Write(L"AutoSize", BoolText(control.AutoSize()));
    bag.Write(L"BackColor", ColorText(control.BackColor()));
    bag.Write(L"Caption", control.Caption());
    bag.Write(L"CaptionIsPath", BoolText(control.CaptionIsPath()));
    bag.Write(L"Enabled", BoolText(control.Enabled()));
    bag.Write(L"Font", FontToText(control.Font()));
    bag.Write(L"ForeColor", ColorText(control.ForeColor()));
    bag.Write(L"HotTracking", BoolText(control.HotTracking()));
    bag.Write(L"Path", control.Path());
}

void RestoreLinkBox(const PropertyBag& bag, LinkBoxState& c) {
    const auto text = [](const std::wstring& v) { return std::optional<std::wstring>(v); };
    RestoreOne<std::int32_t>(bag, L"Alignment", Int16FromText, 0,
                             [&](std::int32_t v) { c.SetAlignment(v); });
    RestoreOne<bool>(bag, L"AutoSize", BoolFromText, false, [&](bool v) { c.SetLabelAutoSize(v); });
    RestoreOne<std::uint32_t>(bag, L"BackColor", ColorFromText, c.BackColor(),
                              [&](std::uint32_t v) { c.SetBackColor(v); });
    RestoreOne<std::wstring>(bag, L"Caption", text, c.Caption(),
                             [&](const std::wstring& v) { c.SetLabelCaption(v); });
    RestoreOne<bool>(bag, L"CaptionIsPath", BoolFromText, true,
                     [&](bool v) { c.StoreCaptionIsPath(v); });
    RestoreOne<bool>(bag, L"Enabled", BoolFromText, true, [&](bool v) { c.SetEnabled(v); });
    RestoreOne<LinkFont>(bag, L"Font", FontFromText, c.LabelFont(),
                         [&](const LinkFont& v) { c.SetFont(v); });
    RestoreOne<std::uint32_t>(bag, L"ForeColor", ColorFromText, c.ForeColor(),
                              [&](std::uint32_t v) { c.SetForeColor(v); });
    RestoreOne<bool>(bag, L"HotTracking", BoolFromText, true,
                     [&](bool v) { c.StoreHotTracking(v); });
    RestoreOne<std::wstring>(bag, L"Path", text, c.Path(),
                             [&](const std::wstring& v) { c.SetPath(v); });
}

void InitializeLinkBox(LinkBoxState& control) {
    control.SetFont(LabelDesignFont());
    control.SetCaptionIsPath(true);
    control.SetForeColor(LinkBlue);
    control.SetHotTracking(true);
}
