#include "text/TextUtil.h"

#include "platform/RunError.h"
#include "text/CaseFold.h"
#include "text/Numbers.h"
#include "text/TextSplit.h"

#include <algorithm>

std::wstring_view TrimText(std::wstring_view text, TextEnds ends, std::wstring_view blanks) {
    // Plain loops: the library's search for any of a set looks each character up in the
    // set through a call, and a file's lines are trimmed one by one.
    const auto blank = [blanks](wchar_t c) {
        return std::find(blanks.begin(), blanks.end(), c) != blanks.end();
    };
    if (ends != TextEnds::End)
        while (!text.empty() && blank(text.front()))
            text.remove_prefix(1);
    if (ends != TextEnds::Start)
        while (!text.empty() && blank(text.back()))
            text.remove_suffix(1);
    return text;
}

std::wstring TextBefore(std::wstring_view text, std::wstring_view delimiter) {
    if (delimiter.empty())
        return std::wstring(text);
    const std::size_t p = text.find(delimiter);
    return std::wstring(p == std::wstring_view::npos ? text : text.substr(0, p));
}

std::wstring CutText(std::wstring_view text, std::size_t length) {
    if (text.size() <= length)
        return std::wstring(text);
    if (length > 0 && text[length - 1] >= 0xD800 && text[length - 1] <= 0xDBFF)
        --length; // a high surrogate, whose low one would be cut off
    return std::wstring(text.substr(0, length)) + L"\u2026";
}

std::wstring TextAfter(std::wstring_view text, std::wstring_view separator, int length,
                       bool emptyWhenAbsent, CompareMode mode) {
    std::size_t p = std::wstring_view::npos;
    if (mode == CompareMode::Exact)
        p = text.find(separator);
    else
        p = FindNoCase(text, separator, 0);
    if (p == std::wstring_view::npos)
        return emptyWhenAbsent ? std::wstring() : std::wstring(text);
    const std::size_t s = p + separator.size();
    if (length <= 0)
        return std::wstring(text.substr(s));
    return std::wstring(text.substr(s, static_cast<std::size_t>(length)));
}

std::int32_t MaxOf(std::int64_t a, std::int64_t b) {
    const std::int64_t larger = a > b ? a : b;
    if (larger < INT32_MIN || larger > INT32_MAX)
        throw RunError(ErrorKind::Overflow, std::to_wstring(larger));
    return static_cast<std::int32_t>(larger);
}

std::int16_t BoolToInt(bool value) {
    return value ? 1 : 0;
}

std::int32_t LowWord(std::int32_t value) {
    return static_cast<std::int32_t>(value & 0xFFFF);
}

bool IsBetween(std::int32_t value, std::int32_t bound1, std::int32_t bound2) {
    if (bound1 <= bound2)
        return bound1 <= value && value <= bound2;
    return bound2 <= value && value <= bound1;
}

std::int32_t IndexOfValue(const std::vector<std::int32_t>* list, std::int32_t value) {
    if (!list)
        return -1;
    for (std::size_t i = 0; i < list->size(); ++i) {
        if ((*list)[i] == value)
            return static_cast<std::int32_t>(i);
    }
    return -1;
}

std::int32_t CountOccurrences(std::wstring_view text, std::wstring_view pattern) {
    if (text.empty() || pattern.empty())
        return 0;
    std::int32_t count = 0;
    for (std::size_t p = text.find(pattern); p != std::wstring_view::npos;
         p = text.find(pattern, p + 1))
        ++count;
    return count;
}

std::optional<std::vector<std::wstring>> SplitToArray(std::wstring_view text,
                                                      std::wstring_view delimiter) {
    std::vector<std::wstring> tokens;
    if (!text.empty() && !delimiter.empty()) {
        for (std::wstring& part : SplitText(text, delimiter)) {
            if (part.empty())
                break;
            tokens.push_back(std::move(part));
        }
    }
    if (tokens.empty())
        return std::nullopt;
    return tokens;
}

std::wstring GetKeyValue(std::wstring_view text, std::wstring_view key,
                         std::wstring_view terminator, std::int32_t* position) {
    std::wstring_view searched = text;
    if (position) {
        if (*position == 0)
            *position = 1;
        else if (*position > 1)
            searched = *position - 1 < static_cast<std::int32_t>(text.size())
                           ? text.substr(static_cast<std::size_t>(*position - 1))
                           : std::wstring_view();
    }
    std::wstring usedKey(key);
    std::size_t p = key.empty() ? std::wstring_view::npos : FindNoCase(searched, usedKey);
    if (p == std::wstring_view::npos && !key.empty()) {
        // Retry with "_" read as " ", in the key and in a copy of the text.
        std::replace(usedKey.begin(), usedKey.end(), L'_', L' ');
        std::wstring copy(searched);
        std::replace(copy.begin(), copy.end(), L'_', L' ');
        p = FindNoCase(copy, usedKey);
    }
    while (p != std::wstring_view::npos) {
        std::wstring_view rest = searched.substr(p + usedKey.size());
        rest = TrimText(rest, TextEnds::Start, L" ");
        if (!rest.empty() && rest.front() == L'=' &&
            CountOccurrences(searched.substr(0, p), std::wstring_view(L"\x02", 1)) % 2 == 0) {
            std::wstring_view value = rest.substr(1);
            value = TrimText(value, TextEnds::Start, L" ");
            if (!terminator.empty())
                value = value.substr(0, std::min(value.find(terminator), value.size()));
            if (position)
                *position += static_cast<std::int32_t>(p + 1 + usedKey.size());
            return std::wstring(value);
        }
        p = FindNoCase(searched, usedKey, p + 1);
    }
    if (position)
        *position = -1;
    return {};
}

std::int16_t CompareVersions(std::wstring_view a, std::wstring_view b) {
    if (a.empty() && b.empty())
        return 0;
    if (b.empty())
        return 1;
    if (a.empty())
        return -1;
    const auto partsA = SplitToArray(a, L".");
    const auto partsB = SplitToArray(b, L".");
    const std::size_t countA = partsA ? partsA->size() : 0;
    const std::size_t countB = partsB ? partsB->size() : 0;
    for (std::size_t i = 0;; ++i) {
        if (i >= countA)
            return countB > countA ? -1 : 0;
        if (i >= countB)
            return 1;
        const double x = LeadingNumber((*partsA)[i]);
        const double y = LeadingNumber((*partsB)[i]);
        if (x > y)
            return 1;
        if (x < y)
            return -1;
    }
}
