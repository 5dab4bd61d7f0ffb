// Randomized run of the Favorites rewrite: many random files and requests, a fixed seed.
// Each old line is made from a text of known meaning, written in one of the many ways a
// script engine reads (raw, \x, \u, octal, \D-style escapes) or broken in a way every
// engine refuses. The new file must read, as the pages read it, exactly as a plain model
// of the old one says: sections merged, the one entry replaced, removed or added, every
// other entry kept; in ASCII, the header once at the top, and stable under the next
// rewrite.
#include "favorites/FavoritesRewrite.h"
#include "text/TextSplit.h"
#include "text/CaseFold.h"

#include <algorithm>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::wstring>;

std::mt19937 rng(20261208);

std::size_t Pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
}
bool Chance(int percent) {
    return static_cast<int>(Pick(100)) < percent;
}
template <typename T> const T& OneOf(const std::vector<T>& list) {
    return list[Pick(list.size())];
}

const std::vector<std::wstring> Names{
    L" Word", L"word",   L" WORD",  L"a",       L"A",      L"Ünïcode", L"Слово", L"",
    L" x y",  L"tail  ", L"AC\\DC", L"O'Brien", L"say \"", L"t\tab",   L"x=y",   L"\U0001F600"};
const std::vector<std::wstring> Sections{L"Quillbay", L"QUILLBAY", L"Other", L"Q.CHM", L"x"};
const std::vector<std::wstring> Topics{L"a.htm", L"b/c.htm", L"q?x=1", L"\u00e9.htm", L""};

std::wstring Hex(std::uint32_t value, int digits) {
    static constexpr wchar_t Digits[] = L"0123456789ABCDEF";
    std::wstring text;
    for (int shift = 4 * (digits - 1); shift >= 0; shift -= 4)
        text += Digits[(value >> shift) & 0xF];
    return text;
}

// One character as a string literal may hold it, in a randomly chosen one of the forms
// that every engine reads as that character.
std::wstring Written(wchar_t c) {
    const auto u = static_cast<std::uint32_t>(c);
    std::vector<std::wstring> forms;
    if (u > 0xFFFF) {
        forms.push_back(L"\\u" + Hex(0xD800 + ((u - 0x10000) >> 10), 4) + L"\\u" +
                        Hex(0xDC00 + ((u - 0x10000) & 0x3FF), 4));
    } else {
        forms.push_back(L"\\u" + Hex(u, 4));
    }
    if (u <= 0xFF) {
        forms.push_back(L"\\x" + Hex(u, 2));
        forms.push_back(L"\\" + std::to_wstring(u / 64) + std::to_wstring(u / 8 % 8) +
                        std::to_wstring(u % 8));
    }
    if (c == L'"' || c == L'\\' || c == L'\'')
        forms.push_back(std::wstring(L"\\") + c);
    else if (c == L'\t')
        forms.push_back(L"\\t");
    else if (u >= 0x20 && u != 0x7F && u != 0x2028 && u != 0x2029)
        forms.push_back(std::wstring(1, c));
    // A backslash before a letter that begins no escape is the letter itself.
    if (std::wstring_view(L"ACDEGHIJKLMOPQSTWYZacdeghijklmopqswyz").find(c) != std::wstring::npos)
        forms.push_back(std::wstring(L"\\") + c);
    return OneOf(forms);
}

// The line of an item of this text: its string and closing U+0001 written in random
// forms; with broken, a form that every script engine refuses at a random place between
// two characters (or the file's format refuses: a U+0001 inside).
std::wstring ItemWritten(const std::wstring& text, const std::wstring& broken = L"") {
    const std::wstring all = text + L'\x01';
    // A backslash breaks the line only before the closing quote.
    const std::size_t breakAt = broken == L"\\" ? all.size() : Pick(all.size() + 1);
    std::wstring line = L"+\"";
    for (std::size_t i = 0; i <= all.size(); ++i) {
        if (i == breakAt)
            line += broken;
        if (i < all.size())
            line += Written(all[i]);
    }
    return line + L"\"";
}

std::wstring ItemBroken(const std::wstring& text) {
    if (Chance(20))
        return L"+\"" + text + L"\""; // no closing U+0001
    // A broken hexadecimal escape, a raw quote, a raw line break of the script, a
    // U+0001 inside, a backslash before the closing quote.
    return ItemWritten(
        text, OneOf<std::wstring>({L"\\x4G", L"\\u12x", L"\"1", L"\u2028", L"\x01", L"\\"}));
}

// A line of the old file and what it means: an item's text, a comment, or nothing.
struct OldLine {
    std::wstring line;
    enum { Item, Comment, Nothing } kind = Nothing;
    std::wstring text;
};

std::wstring Spaces() {
    return std::wstring(Chance(20) ? Pick(3) : 0, L' ');
}

OldLine RandomLine() {
    OldLine old;
    const std::size_t kind = Pick(10);
    if (kind == 0) {
        old.line = OneOf<std::wstring>({L";var ext_BM=\"\"", L";VAR EXT_bm=\"\""});
    } else if (kind == 1) {
        old.kind = OldLine::Comment;
        old.line = L"// " + OneOf(Names) + OneOf(Topics);
    } else if (kind <= 8) {
        old.kind = OldLine::Item;
        old.text = kind <= 3   ? L"[" + OneOf(Sections) + (Chance(90) ? L"]" : L"")
                   : kind == 4 ? OneOf(Names)
                               : OneOf(Names) + Spaces() + L"=" + OneOf(Topics);
        old.line = ItemWritten(old.text);
        if (kind == 8) {
            old.kind = OldLine::Nothing;
            old.line = ItemBroken(old.text);
        }
    }
    return {Spaces() + old.line + Spaces(), old.kind, old.text};
}

FavoritesRequest RandomRequest() {
    FavoritesRequest request;
    do
        request.name = OneOf(Names);
    while (request.name.find_first_of(L"\"\\=\t") != std::wstring::npos);
    request.name.erase(request.name.find_last_not_of(L' ') + 1);
    request.section = OneOf(Sections);
    if (Chance(70))
        request.topic = L"n" + std::to_wstring(Pick(50)) + L".htm";
    return request;
}

// The file as the pages read it: the items of each section in order, the items before
// the first section under the section "". Sections are told apart without letter case.
struct Section {
    std::wstring text;
    std::vector<std::wstring> items;
};
using Model = std::vector<Section>;

Section& SectionOf(Model& model, const std::wstring& text) {
    for (Section& section : model)
        if (EqualsNoCase(section.text, text))
            return section;
    return model.emplace_back(Section{text, {}});
}

Model ModelOf(const std::vector<OldLine>& old) {
    Model model{{L"", {}}};
    Section* current = &model.front();
    for (const OldLine& line : old) {
        if (line.kind != OldLine::Item)
            continue;
        if (line.text.starts_with(L'['))
            current = &SectionOf(model, line.text);
        else
            current->items.push_back(line.text);
    }
    return model;
}

bool IsEntryOf(const std::wstring& item, const std::wstring& name) {
    const auto equals = item.find(L'=');
    if (equals == std::wstring::npos)
        return false;
    std::wstring before = item.substr(0, equals);
    before.erase(before.find_last_not_of(L' ') + 1);
    return EqualsNoCase(before, name);
}

void Apply(Model& model, const FavoritesRequest& request) {
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

// The new file's items, read back: it holds only \uXXXX escapes.
std::optional<std::wstring> Unescaped(const std::wstring& quoted) {
    std::wstring text;
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        if (quoted[i] != L'\\') {
            text += quoted[i];
            continue;
        }
        if (i + 6 > quoted.size() || quoted[i + 1] != L'u')
            return std::nullopt;
        text += static_cast<wchar_t>(std::stoul(quoted.substr(i + 2, 4), nullptr, 16));
        i += 5;
    }
    return text;
}

// The model of the new file; nothing when a line is neither a comment nor a plain item.
std::optional<Model> ModelOfNewFile(const Lines& lines) {
    std::vector<OldLine> read;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        const std::wstring& line = lines[i];
        if (line.starts_with(L"//"))
            continue;
        if (!line.starts_with(L"+\"") || !line.ends_with(L"\x01\"") || line.size() < 4)
            return std::nullopt;
        const std::wstring quoted = line.substr(2, line.size() - 4);
        auto text = Unescaped(quoted);
        if (!text || quoted.find(L'"') != std::wstring::npos ||
            text->find(L'\x01') != std::wstring::npos)
            return std::nullopt;
        // A 32-bit wchar_t: the model holds characters beyond U+FFFF whole.
        for (std::size_t k = 0; k + 1 < text->size(); ++k) {
            const auto high = static_cast<std::uint32_t>((*text)[k]) - 0xD800;
            const auto low = static_cast<std::uint32_t>((*text)[k + 1]) - 0xDC00;
            if (high < 0x400 && low < 0x400)
                text->replace(k, 2, 1, static_cast<wchar_t>(0x10000 + (high << 10) + low));
        }
        read.push_back({line, OldLine::Item, *text});
    }
    return ModelOf(read);
}

bool SameModel(const Model& a, const Model& b) {
    return std::equal(
        a.begin(), a.end(), b.begin(), b.end(),
        [](const Section& p, const Section& q) { return p.text == q.text && p.items == q.items; });
}

std::string Show(const Lines& lines) {
    std::string text;
    for (const auto& line : lines) {
        for (wchar_t c : line)
            text += c >= 32 && c < 127 ? static_cast<char>(c) : '?';
        text += '\n';
    }
    return text;
}

} // namespace

int main() {
    const int runs = 12000;
    int failures = 0;
    for (int run = 0; run < runs && failures < 5; ++run) {
        std::vector<OldLine> old;
        Lines oldLines;
        for (std::size_t n = Pick(16); n > 0; --n) {
            old.push_back(RandomLine());
            oldLines.push_back(old.back().line);
        }
        const FavoritesRequest request = RandomRequest();
        const std::wstring text = RewriteFavorites(JoinFileLines(oldLines), request);
        const Lines now = SplitLines(text);

        Model expected = ModelOf(old);
        Apply(expected, request);
        const auto got = ModelOfNewFile(now);
        const auto oldComments = std::count_if(
            old.begin(), old.end(), [](const OldLine& l) { return l.kind == OldLine::Comment; });
        const auto newComments = std::count_if(
            now.begin(), now.end(), [](const std::wstring& l) { return l.starts_with(L"//"); });

        const char* broken = nullptr;
        FavoritesRequest unrelated;
        unrelated.name = L"no such name";
        unrelated.section = L"no such section";
        if (std::any_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x80; }))
            broken = "the file holds a character outside ASCII";
        else if (now.empty() || now.front() != FavoritesHeader ||
                 std::count_if(now.begin(), now.end(),
                               [](const std::wstring& l) { return IsFavoritesHeader(l); }) != 1)
            broken = "the header is not there exactly once, at the top";
        else if (!got)
            broken = "a line is neither a comment nor a plain item";
        else if (!SameModel(*got, expected))
            broken = "the pages read other sections or entries than the model";
        else if (newComments != oldComments)
            broken = "a comment was lost";
        else if (RewriteFavorites(text, unrelated) != text)
            broken = "the next rewrite changes the file";
        // (A name with trailing blanks never matches its stored line: each add appends.)
        else if (!request.topic.empty() && RewriteFavorites(text, request) != text)
            broken = "the same add twice changes the file";
        if (broken) {
            ++failures;
            std::printf("run %d: %s\n--- old\n%s--- new\n%s", run, broken, Show(oldLines).c_str(),
                        Show(now).c_str());
        }
    }
    std::printf("%d random rewrites, %d failures\n", runs, failures);
    return failures == 0 ? 0 : 1;
}
