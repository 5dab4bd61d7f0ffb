// Randomized run of the Favorites rewrite: many random files and requests, a fixed seed.
// Each old line is made from a text of known meaning, written in one of the many ways a
// script engine reads (raw, \x, \u, octal, \D-style escapes) or broken in a way every
// engine refuses. The new file must read, as the pages read it, exactly as a plain model
// of the old one says: sections merged, the one entry replaced, removed or added, every
// other entry kept; in ASCII, the header once at the top, and stable under the next
// rewrite.
#include "favorites/FavoritesRewrite.h"
#include "tests/property/FavoritesModel.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace favorites_model;

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
    return std::wstring(Chance(20) ? Pick(3) : 0, Chance(70) ? L' ' : L'\t');
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

} // namespace

int main() {
    const int runs = 12000;
    int failures = 0;
    for (int run = 0; run < runs && failures < 5; ++run) {
        std::vector<OldLine> old;
        Lines oldLines;
        std::vector<std::wstring> oldItems;
        for (std::size_t n = Pick(16); n > 0; --n) {
            old.push_back(RandomLine());
            oldLines.push_back(old.back().line);
            if (old.back().kind == OldLine::Item)
                oldItems.push_back(old.back().text);
        }
        const FavoritesRequest request = RandomRequest();
        const std::wstring text = RewriteFavorites(JoinFileLines(oldLines), request);

        Model expected = ModelOf(oldItems);
        Apply(expected, request);
        const auto oldComments = std::count_if(
            old.begin(), old.end(), [](const OldLine& l) { return l.kind == OldLine::Comment; });

        FavoritesRequest unrelated;
        unrelated.name = L"no such name";
        unrelated.section = L"no such section";
        const char* broken = WrittenFileProblem(text);
        if (!broken && ModelOfWrittenFile(text) != expected)
            broken = "the pages read other sections or entries than the model";
        else if (!broken && static_cast<std::ptrdiff_t>(CommentsOf(text).size()) != oldComments)
            broken = "a comment was lost";
        else if (!broken && RewriteFavorites(text, unrelated) != text)
            broken = "the next rewrite changes the file";
        // (A name with trailing blanks never matches its stored line: each add appends.)
        else if (!broken && !request.topic.empty() && RewriteFavorites(text, request) != text)
            broken = "the same add twice changes the file";
        if (broken) {
            ++failures;
            std::printf("run %d: %s\n--- old\n%s--- new\n%s", run, broken,
                        Show(JoinFileLines(oldLines)).c_str(), Show(text).c_str());
        }
    }
    std::printf("%d random rewrites, %d failures\n", runs, failures);
    return failures == 0 ? 0 : 1;
}
