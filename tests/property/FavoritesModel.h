// A plain model of how the dictionary's pages read ext_BM.js, kept apart from the rewrite
// it checks: the items of each section in order, the items before the first section under
// the section "", sections told apart without letter case and merged into their first
// place. The randomized property test and the fuzz target of the rewrite share it.
#pragma once
#include "favorites/FavoritesRewrite.h"
#include "favorites/ScriptString.h"
#include "text/TextSplit.h"
#include "text/CaseFold.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace favorites_model {

using Lines = std::vector<std::wstring>;

struct Section {
    std::wstring text;
    std::vector<std::wstring> items;
    bool operator==(const Section&) const = default;
};
using Model = std::vector<Section>;

inline Section& SectionOf(Model& model, const std::wstring& text) {
    for (Section& section : model)
        if (EqualsNoCase(section.text, text))
            return section;
    return model.emplace_back(Section{text, {}});
}

// The model of a file whose items (each string without its closing U+0001) are these.
inline Model ModelOf(const std::vector<std::wstring>& items) {
    Model model{{L"", {}}};
    Section* current = &model.front();
    for (const std::wstring& item : items) {
        if (item.starts_with(L'['))
            current = &SectionOf(model, item);
        else
            current->items.push_back(item);
    }
    return model;
}

inline bool IsEntryOf(const std::wstring& item, const std::wstring& name) {
    const auto equals = item.find(L'=');
    if (equals == std::wstring::npos)
        return false;
    std::wstring before = item.substr(0, equals);
    before.erase(before.find_last_not_of(L' ') + 1);
    return EqualsNoCase(before, name);
}

// The entries of that name in the section of that help file.
inline std::size_t CountEntries(const Model& model, const FavoritesRequest& request) {
    const std::wstring sectionText = L"[" + request.section + L"]";
    std::size_t count = 0;
    for (const Section& section : model)
        if (EqualsNoCase(section.text, sectionText))
            count += std::count_if(
                section.items.begin(), section.items.end(),
                [&](const std::wstring& item) { return IsEntryOf(item, request.name); });
    return count;
}

// What a /bmadd (a topic) or /bmdel (none) does to the file: the first entry of the name
// in the help file's section replaced or removed, or the entry added at the section's end.
inline void Apply(Model& model, const FavoritesRequest& request) {
    const std::wstring sectionText = L"[" + request.section + L"]";
    const auto section = std::find_if(model.begin(), model.end(), [&](const Section& s) {
        return EqualsNoCase(s.text, sectionText);
    });
    if (section == model.end() && request.topic.empty())
        return;
    auto& items = SectionOf(model, sectionText).items;
    const auto match = std::find_if(items.begin(), items.end(), [&](const std::wstring& item) {
        return IsEntryOf(item, request.name);
    });
    const std::wstring entry = request.name + L"=" + request.topic;
    if (match != items.end() && request.topic.empty())
        items.erase(match);
    else if (match != items.end())
        *match = entry;
    else if (!request.topic.empty())
        items.push_back(entry);
}

// A 32-bit wchar_t holds a character beyond U+FFFF whole, as the rewrite reads an escaped
// surrogate pair.
inline std::wstring JoinSurrogatePairs(std::wstring text) {
    for (std::size_t k = 0; k + 1 < text.size(); ++k) {
        const auto high = static_cast<std::uint32_t>(text[k]) - 0xD800;
        const auto low = static_cast<std::uint32_t>(text[k + 1]) - 0xDC00;
        if (high < 0x400 && low < 0x400)
            text.replace(k, 2, 1, static_cast<wchar_t>(0x10000 + (high << 10) + low));
    }
    return text;
}

// The items of any file, each line as a script engine reads it: a line (blanks around
// it) that is one string ending in U+0001, with no other inside, is an item.
inline std::vector<std::wstring> ItemsAsEngineReads(std::wstring_view text) {
    std::vector<std::wstring> items;
    for (std::wstring line : SplitLines(text)) {
        line.erase(0, line.find_first_not_of(L" \t"));
        line.erase(line.find_last_not_of(L" \t") + 1);
        if (line.size() < 3 || !line.starts_with(L"+\"") || !line.ends_with(L'"'))
            continue;
        const auto read = ReadScriptString(std::wstring_view(line).substr(2, line.size() - 3));
        if (read && !read->empty() && read->find(L'\x01') == read->size() - 1)
            items.push_back(read->substr(0, read->size() - 1));
    }
    return items;
}

inline int HexDigit(wchar_t c) {
    const std::wstring_view digits = L"0123456789ABCDEF0123456789abcdef";
    const std::size_t at = digits.find(c);
    return at == std::wstring_view::npos ? -1 : static_cast<int>(at % 16);
}

// The text of a line as the rewrite writes an item: +"...<U+0001>" holding printable ASCII
// but for the quote and the backslash, every other character as \uXXXX, and no other
// U+0001; nothing when the line is not such.
inline std::optional<std::wstring> ItemOfWrittenLine(const std::wstring& line) {
    if (line.size() < 4 || !line.starts_with(L"+\"") || !line.ends_with(L"\x01\""))
        return std::nullopt;
    const std::wstring_view quoted = std::wstring_view(line).substr(2, line.size() - 4);
    std::wstring text;
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        const wchar_t c = quoted[i];
        if (c == L'"' || c < 0x20 || c >= 0x7F)
            return std::nullopt;
        if (c != L'\\') {
            text += c;
            continue;
        }
        if (i + 6 > quoted.size() || quoted[i + 1] != L'u')
            return std::nullopt;
        std::uint32_t unit = 0;
        for (std::size_t k = i + 2; k < i + 6; ++k) {
            const int digit = HexDigit(quoted[k]);
            if (digit < 0)
                return std::nullopt;
            unit = unit * 16 + static_cast<std::uint32_t>(digit);
        }
        text += static_cast<wchar_t>(unit);
        i += 5;
    }
    if (text.find(L'\x01') != std::wstring::npos) // the pages would split the item there
        return std::nullopt;
    return JoinSurrogatePairs(text);
}

// What is wrong with a file as the rewrite writes it, or nullptr: pure ASCII, the header
// exactly once, at the top, then only comments and items as ItemOfWrittenLine reads them.
inline const char* WrittenFileProblem(std::wstring_view text) {
    if (std::any_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x80; }))
        return "the file holds a character outside ASCII";
    const Lines lines = SplitLines(text);
    if (lines.empty() || lines.front() != FavoritesHeader ||
        std::count_if(lines.begin(), lines.end(),
                      [](const std::wstring& l) { return IsFavoritesHeader(l); }) != 1)
        return "the header is not there exactly once, at the top";
    for (std::size_t i = 1; i < lines.size(); ++i)
        if (!lines[i].starts_with(L"//") && !ItemOfWrittenLine(lines[i]))
            return "a line is neither a comment nor a plain item";
    return nullptr;
}

// The model of a file the rewrite wrote (WrittenFileProblem finds nothing in it).
inline Model ModelOfWrittenFile(std::wstring_view text) {
    std::vector<std::wstring> items;
    for (const std::wstring& line : SplitLines(text))
        if (auto item = ItemOfWrittenLine(line))
            items.push_back(std::move(*item));
    return ModelOf(items);
}

inline Lines CommentsOf(std::wstring_view text) {
    Lines comments;
    for (std::wstring& line : SplitLines(text))
        if (line.starts_with(L"//"))
            comments.push_back(std::move(line));
    return comments;
}

inline std::string Show(std::wstring_view text) {
    std::string shown;
    for (wchar_t c : text)
        if (c != L'\r')
            shown += c == L'\n' || (c >= 32 && c < 127) ? static_cast<char>(c) : '?';
    return shown;
}

} // namespace favorites_model
