// Randomized run of the Favorites rewrite: many random files and requests, a fixed seed.
// Checks that nothing a reader kept is lost: every valid line of the old file survives,
// in order and in ASCII, except the one entry the request replaces or removes; that the
// result is ASCII and stable under the next rewrite.
#include "favorites/FavoritesRewrite.h"
#include "text/CaseFold.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <regex>
#include <string>
#include <vector>

namespace {

using Lines = std::vector<std::wstring>;

std::mt19937 rng(20261207);

std::size_t Pick(std::size_t n) {
    return std::uniform_int_distribution<std::size_t>(0, n - 1)(rng);
}
bool Chance(int percent) {
    return static_cast<int>(Pick(100)) < percent;
}

const std::vector<std::wstring> Names{L" Word",   L"word",  L" WORD", L"a",    L"A",
                                      L"Ünïcode", L"Слово", L"",      L" x y", L"tail  "};
const std::vector<std::wstring> Sections{L"Quillbay", L"QUILLBAY", L"Other", L"Q.CHM", L"x"};
const std::vector<std::wstring> Junk{
    L"=",   L"\"",     L"\x01",    L" ",       L"[",       L"]",       L"+",       L"/",
    L"a",   L"\x01\"", L"+\"",     L"//",      L"\t",      L"Я",       L"::/",     L"\\",
    L"\\u", L"\\u12",  L"\\u005B", L"\\u003D", L"\\u0001", L"\\u0022", L"\\u0416", L"\u2028"};

std::wstring RandomText(std::size_t maxPieces) {
    std::wstring text;
    for (std::size_t n = Pick(maxPieces + 1); n > 0; --n)
        text += Junk[Pick(Junk.size())];
    return text;
}

std::wstring Spaces() {
    return std::wstring(Chance(20) ? Pick(3) : 0, L' ');
}

std::wstring RandomLine() {
    std::wstring line;
    switch (Pick(8)) {
    case 0:
        line = Chance(50) ? L";var ext_BM=\"\"" : L";VAR EXT_bm=\"\"";
        break;
    case 1:
        line = L"//" + RandomText(4);
        break;
    case 2:
        line = SectionLine(Sections[Pick(Sections.size())]);
        break;
    case 3:
    case 4:
        line = EntryLine(Names[Pick(Names.size())], L"t" + std::to_wstring(Pick(50)));
        break;
    case 5:
        line = L"+\"" + Names[Pick(Names.size())] + Spaces() + L"=" + RandomText(2) + L"\x01\"";
        break;
    case 6:
        line = RandomText(8);
        break;
    default:
        line = L"";
        break;
    }
    return Spaces() + line + Spaces();
}

FavoritesRequest RandomRequest() {
    FavoritesRequest request;
    request.name = Names[Pick(Names.size())];
    request.section = Sections[Pick(Sections.size())];
    if (Chance(70))
        request.topic = L"n" + std::to_wstring(Pick(50)) + L".htm";
    return request;
}

// An independent statement of the line rules: trimmed of blanks; no raw line break of
// the script; the header in any case and comments pass; else the quotes of the string
// itself, every backslash a whole \uXXXX escape, and once they are read: the closing
// pair, nothing quoted or U+0001 inside, at most one "=".
std::wstring Trim(const std::wstring& line) {
    const auto first = line.find_first_not_of(L' ');
    return first == std::wstring::npos
               ? L""
               : line.substr(first, line.find_last_not_of(L' ') - first + 1);
}
// The line as a script engine reads it; the line itself when an escape is broken.
std::wstring Read(const std::wstring& line) {
    return PlainText(line).value_or(line);
}
bool IsValid(const std::wstring& line) {
    static const std::wregex entry(L"^\\+\"[^\"\\x01=]*(=[^\"\\x01=]*)?\\x01\"$");
    static const std::wregex escapes(L"^([^\\\\]|\\\\u[0-9A-Fa-f]{4})*$");
    if (line.find_first_of(L"\u2028\u2029") != std::wstring::npos)
        return false;
    if (line.starts_with(L"//") || EqualsNoCase(line, L";var ext_BM=\"\""))
        return true;
    return line.starts_with(L"+\"") && line.ends_with(L"\"") && std::regex_match(line, escapes) &&
           std::regex_match(Read(line), entry);
}

bool MatchesName(const std::wstring& line, const FavoritesRequest& request) {
    const std::wstring text = Read(line);
    const auto equals = text.find(L'=');
    return equals != std::wstring::npos && text.starts_with(L"+\"") &&
           EqualsNoCase(Trim(text.substr(0, equals)), L"+\"" + request.name);
}

// new == old with at most one line removed, and that line an entry of the name.
bool SameButOneEntry(const Lines& old, const Lines& now, const FavoritesRequest& request) {
    if (now.size() != old.size() && now.size() + 1 != old.size())
        return false;
    std::size_t k = 0;
    while (k < now.size() && now[k] == old[k])
        ++k;
    if (k == now.size() && now.size() == old.size())
        return true;
    if (!MatchesName(old[k], request))
        return false;
    return std::equal(now.begin() + static_cast<std::ptrdiff_t>(k), now.end(),
                      old.begin() + static_cast<std::ptrdiff_t>(k + 1));
}

// Every way of taking the request's own additions (one entry line, perhaps the section
// line at the end) out of the new file must leave the old file's valid lines but one.
bool OldLinesSurvive(const Lines& valid, const Lines& now, const FavoritesRequest& request) {
    if (request.topic.empty())
        return SameButOneEntry(valid, now, request);
    const std::wstring entry = EntryLine(ScriptText(request.name), request.topic);
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (now[i] != entry)
            continue;
        Lines without = now;
        without.erase(without.begin() + static_cast<std::ptrdiff_t>(i));
        if (SameButOneEntry(valid, without, request))
            return true;
        if (!without.empty() && i == without.size() &&
            without.back() == SectionLine(ScriptText(request.section))) {
            without.pop_back();
            if (SameButOneEntry(valid, without, request))
                return true;
        }
    }
    return false;
}

// The new entry sits in a section of the help file: the nearest section line above it.
bool EntryInItsSection(const Lines& now, const FavoritesRequest& request) {
    const std::wstring entry = EntryLine(ScriptText(request.name), request.topic);
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (now[i] != entry)
            continue;
        for (std::size_t j = i; j-- > 0;) {
            if (Read(now[j]).starts_with(L"+\"["))
                return EqualsNoCase(Read(now[j]), SectionLine(request.section));
        }
        return false;
    }
    return false;
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
        Lines old;
        for (std::size_t n = Pick(14); n > 0; --n)
            old.push_back(RandomLine());
        const FavoritesRequest request = RandomRequest();
        const std::wstring text = RewriteFavorites(JoinFileLines(old), request);
        const Lines now = SplitFileLines(text);

        Lines valid;
        for (const auto& line : old)
            if (IsValid(Trim(line)))
                valid.push_back(ScriptText(Trim(line)));

        const char* broken = nullptr;
        FavoritesRequest unrelated;
        unrelated.name = L"no such name";
        unrelated.section = L"no such section";
        if (std::any_of(text.begin(), text.end(), [](wchar_t c) { return c >= 0x80; }))
            broken = "the file holds a character outside ASCII";
        else if (!OldLinesSurvive(valid, now, request))
            broken = "an old line was lost, moved or changed";
        else if (!request.topic.empty() && !EntryInItsSection(now, request))
            broken = "the entry is not in its section";
        else if (RewriteFavorites(text, unrelated) != text)
            broken = "the next rewrite changes the file";
        // (A name with trailing blanks never matches its stored line: each add appends.)
        else if (!request.topic.empty() && !request.name.ends_with(L' ') &&
                 RewriteFavorites(text, request) != text)
            broken = "the same add twice changes the file";
        if (broken) {
            ++failures;
            std::printf("run %d: %s\n--- old\n%s--- new\n%s", run, broken, Show(old).c_str(),
                        Show(now).c_str());
        }
    }
    std::printf("%d random rewrites, %d failures\n", runs, failures);
    return failures == 0 ? 0 : 1;
}
