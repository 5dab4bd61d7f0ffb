// Lines of ext_BM.js as the client writes them, for what the tests expect: a section
// line and an entry line, without the line end, in wide text or as the bytes of the ASCII
// file.
#pragma once
#include <string>

template <typename Char> std::basic_string<Char> ItemLineOf(const std::basic_string<Char>& text) {
    return std::basic_string<Char>{Char('+'), Char('"')} + text +
           std::basic_string<Char>{Char(1), Char('"')};
}

template <typename Char>
std::basic_string<Char> SectionLineOf(const std::basic_string<Char>& name) {
    return ItemLineOf(Char('[') + name + Char(']'));
}

template <typename Char>
std::basic_string<Char> EntryLineOf(const std::basic_string<Char>& name,
                                    const std::basic_string<Char>& topic) {
    return ItemLineOf(name + Char('=') + topic);
}
