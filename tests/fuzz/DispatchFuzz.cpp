// Fuzz target of the dispatch: which switch a command line runs, and with what argument.
//
// Input (tests/fuzz/FuzzInput.h): one byte (which of /bmadd, /bmdel and /find, blanks
// before it), one byte (the letter case of its name), the free text after it, a whole
// command line and a program name, each ended by a 0 byte.
#include "app/SwitchTable.h"
#include "platform/RunError.h"
#include "tests/fuzz/FuzzInput.h"
#include "tests/support/DispatchCases.h"

#include <algorithm>
#include <string>

namespace {

const SwitchEntry& EntryOf(Switch id) {
    return *std::find_if(SwitchTable.begin(), SwitchTable.end(),
                         [&](const SwitchEntry& entry) { return entry.id == id; });
}

std::wstring AsciiLower(std::wstring text) {
    for (wchar_t& c : text)
        if (c >= L'A' && c <= L'Z')
            c += L'a' - L'A';
    return text;
}

// Everything after the first exact occurrence of the name; empty without one.
std::wstring TextAfterExact(const std::wstring& line, std::wstring_view name) {
    const std::size_t at = line.find(name);
    return at == std::wstring::npos ? std::wstring() : line.substr(at + name.size());
}

// The documented lines, held once per run.
bool DocumentedLinesHold() {
    for (const DocumentedLine& d : DocumentedLines) {
        const SwitchChoice choice = ChooseSwitch(d.line);
        if (choice.id != d.id || choice.text != d.argument)
            Broken("a documented line runs another switch or argument", d.line);
    }
    return true;
}

// A line that begins with a free-text switch runs it, whatever the text after it holds.
void CheckFreeText(FuzzInput& input) {
    static constexpr Switch FreeText[] = {Switch::BmAdd, Switch::BmDel, Switch::Find};
    const std::uint8_t which = input.Byte();
    const std::uint8_t letterCase = input.Byte();
    const SwitchEntry& entry = EntryOf(FreeText[which % 3]);
    std::wstring line;
    for (int blanks = which / 3 % 4; blanks > 0; --blanks)
        line += blanks % 2 ? L' ' : L'\t';
    for (std::size_t i = 0; i < entry.name.size(); ++i) {
        const wchar_t c = entry.name[i];
        line += (letterCase >> i & 1) && c >= L'a' && c <= L'z' ? c - (L'a' - L'A') : c;
    }
    line += input.Field();
    const SwitchChoice choice = ChooseSwitch(line);
    if (choice.id != entry.id || choice.text != TextAfterExact(line, entry.name))
        Broken("a line that begins with a free-text switch runs something else", line);
}

// Any line: one switch or none, an argument cut from the line, an overflow only where a
// number is read.
void CheckAnyLine(const std::wstring& line) {
    SwitchChoice choice;
    try {
        choice = ChooseSwitch(line);
    } catch (const RunError& error) {
        const std::wstring lower = AsciiLower(line);
        const bool numeric = lower.find(L"/pane") != std::wstring::npos ||
                             lower.find(L"/keyb") != std::wstring::npos ||
                             lower.find(L"/keyh") != std::wstring::npos;
        if (error.Kind() != ErrorKind::Overflow || !numeric)
            Broken("an error other than the overflow of a number", line);
        return;
    }
    if (line.empty()) {
        if (choice.id != Switch::Ver || !choice.text.empty())
            Broken("the empty line does not open the About window", line);
        return;
    }
    if (choice.id == Switch::Unknown) {
        if (!choice.text.empty() || choice.number != 0)
            Broken("no switch, yet an argument", line);
        return;
    }
    const SwitchEntry& entry = EntryOf(choice.id);
    if (AsciiLower(line).find(entry.name) == std::wstring::npos)
        Broken("a switch whose name the line does not hold", line);
    if (!line.ends_with(choice.text) ||
        (entry.form != ArgumentForm::Text && !choice.text.empty()) ||
        (entry.form != ArgumentForm::Int16 && entry.form != ArgumentForm::Int32 &&
         choice.number != 0))
        Broken("an argument not in the switch's form, or not the line's end", line);
}

// The arguments are what follows the program's name and the blanks after it.
void CheckProgramName(const std::wstring& name, const std::wstring& arguments) {
    const std::wstring expected =
        arguments.substr(std::min(arguments.size(), arguments.find_first_not_of(L" \t")));
    if (name.find(L'"') == std::wstring::npos &&
        ArgumentsOfCommandLine(L"\"" + name + L"\" " + arguments) != expected)
        Broken("the arguments after a quoted program name are not the rest", name);
    if (!name.empty() && name.find_first_of(L" \t\"") == std::wstring::npos &&
        ArgumentsOfCommandLine(name + L"\t" + arguments) != expected)
        Broken("the arguments after a program name are not the rest", name);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool documented = DocumentedLinesHold();
    (void)documented;
    FuzzInput input(data, size);
    CheckFreeText(input);
    const std::wstring line = input.Field();
    CheckAnyLine(line);
    CheckProgramName(input.Field(), line);
    return 0;
}
