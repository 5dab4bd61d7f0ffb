// The fifteen switches, in the order they are tested, and the pure choice of the one
// that a command line runs.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

enum class Switch {
    Ver,
    Stop,
    Pane,
    Find,
    Jump,
    Exit,
    Reg,
    Title,
    Keyb,
    Keyh,
    Move,
    Run,
    BmAdd,
    BmDel,
    Copy,
    Unknown, // text without any switch of the table
};

enum class ArgumentForm { Nothing, Text, Int16, Int32 };

struct SwitchEntry {
    std::wstring_view name;
    Switch id;
    ArgumentForm form;
};

extern const std::array<SwitchEntry, 15> SwitchTable;

struct SwitchChoice {
    Switch id = Switch::Unknown;
    std::wstring text;       // for ArgumentForm::Text
    std::int32_t number = 0; // for ArgumentForm::Int16 and Int32
};

// The arguments of a command line: the text after the program name and the blanks that
// follow it.
std::wstring ArgumentsOfCommandLine(std::wstring_view fullCommandLine);

// The empty command line chooses Ver with an empty argument (the About window). A line
// that begins (after blanks) with /bmadd, /bmdel or /find chooses that switch, whatever
// the rest holds. Otherwise the first switch of the table whose name stands before the
// line's first "::" at the start of the line or after a blank, a tab or a double quote;
// ASCII letters compared without regard to case. The argument is what follows the first
// exact occurrence of the name from the one that counted on.
// Throws RunError(Overflow) when a numeric argument does not fit its target.
SwitchChoice ChooseSwitch(std::wstring_view commandLine);
