// The one way the program splits text: into the parts between separators, or into the
// lines of a file. No state outlives a call.
#pragma once
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace text_split {

// Calls visit with each part of text, in order. separatorAt(text, from) gives the position
// and length of the next separator at or after from, or a position of npos. With
// trailingEmpty, a separator at the very end leaves one more (empty) part; the empty text
// is then one empty part, else none.
template <typename SeparatorAt, typename Visit>
void ForEachPart(std::wstring_view text, SeparatorAt separatorAt, bool trailingEmpty, Visit visit) {
    std::size_t start = 0;
    while (start < text.size() || (trailingEmpty && start == text.size())) {
        const auto [at, length] = separatorAt(text, start);
        if (at == std::wstring_view::npos) {
            visit(text.substr(start));
            return;
        }
        visit(text.substr(start, at - start));
        start = at + length;
    }
}

} // namespace text_split

// The parts of text between the separator's occurrences: "a==b" at "=" gives "a", "",
// "b"; "a=" gives "a", ""; the empty text gives one empty part.
template <typename Visit>
void ForEachPart(std::wstring_view text, std::wstring_view separator, Visit visit) {
    text_split::ForEachPart(
        text,
        [separator](std::wstring_view t, std::size_t from) {
            return std::pair{separator.empty() ? std::wstring_view::npos : t.find(separator, from),
                             separator.size()};
        },
        true, visit);
}
std::vector<std::wstring> SplitText(std::wstring_view text, std::wstring_view separator);

namespace text_split {

// FileLineEnd in wide text or in bytes of a code page (none places CR or LF inside a
// character of two bytes).
template <typename Char>
std::pair<std::size_t, std::size_t> LineEndIn(std::basic_string_view<Char> text, std::size_t from) {
    // A plain loop: the library's search for either of two characters looks each one up in
    // the pair, and a file may hold many thousand lines.
    for (std::size_t i = from; i < text.size(); ++i) {
        if (text[i] == Char('\n'))
            return {i, 1};
        if (text[i] == Char('\r'))
            return {i, i + 1 < text.size() && text[i + 1] == Char('\n') ? std::size_t{2}
                                                                        : std::size_t{1}};
    }
    return {std::wstring_view::npos, 0};
}

} // namespace text_split

// Where the line of file text that begins at from ends (npos: at the end of the text),
// and the length of its end: a line ends at CR LF, CR or LF.
inline std::pair<std::size_t, std::size_t> FileLineEnd(std::wstring_view text, std::size_t from) {
    return text_split::LineEndIn(text, from);
}

// The lines of file text without their ends: a last line without an end counts, and an
// end at the very end starts no empty line.
template <typename Visit> void ForEachLine(std::wstring_view text, Visit visit) {
    text_split::ForEachPart(text, FileLineEnd, false, visit);
}
std::vector<std::wstring> SplitLines(std::wstring_view text);
