#include "app/SwitchTable.h"

#include "app/SwitchArguments.h"
#include "text/Numbers.h"
#include "text/CaseFold.h"
#include "text/TextUtil.h"

const std::array<SwitchEntry, 15> SwitchTable = {{
    {L"/ver", Switch::Ver, ArgumentForm::Text},
    {L"/stop", Switch::Stop, ArgumentForm::Nothing},
    {L"/pane", Switch::Pane, ArgumentForm::Int16},
    {L"/find", Switch::Find, ArgumentForm::Text},
    {L"/jump", Switch::Jump, ArgumentForm::Nothing},
    {L"/exit", Switch::Exit, ArgumentForm::Nothing},
    {L"/reg", Switch::Reg, ArgumentForm::Text},
    {L"/title", Switch::Title, ArgumentForm::Text},
    {L"/keyb", Switch::Keyb, ArgumentForm::Int32},
    {L"/keyh", Switch::Keyh, ArgumentForm::Int32},
    {L"/move", Switch::Move, ArgumentForm::Text},
    {L"/run", Switch::Run, ArgumentForm::Text},
    {L"/bmadd", Switch::BmAdd, ArgumentForm::Text},
    {L"/bmdel", Switch::BmDel, ArgumentForm::Text},
    {L"/copy", Switch::Copy, ArgumentForm::Nothing},
}};

std::wstring ArgumentsOfCommandLine(std::wstring_view full) {
    std::size_t i = 0;
    if (!full.empty() && full[0] == L'"') {
        const std::size_t close = full.find(L'"', 1);
        i = close == std::wstring_view::npos ? full.size() : close + 1;
    } else {
        while (i < full.size() && full[i] != L' ' && full[i] != L'\t')
            ++i;
    }
    return std::wstring(TrimText(full.substr(i), TextEnds::Start));
}

namespace {

// Where a switch name may stand: at the start of the command line, or after a blank, a
// tab or a double quote. A "/" inside a word ("hit/run", "C:/Users/Vera/") is text.
bool StartsAWord(std::wstring_view text, std::size_t at) {
    return at == 0 || text[at - 1] == L' ' || text[at - 1] == L'\t' || text[at - 1] == L'"';
}

// Where the switch name first stands in the text where a switch may stand; npos if
// nowhere.
std::size_t SwitchPosition(std::wstring_view text, std::wstring_view name) {
    for (std::size_t at = FindAsciiNoCase(text, name); at != std::wstring_view::npos;
         at = FindAsciiNoCase(text, name, at + 1)) {
        if (StartsAWord(text, at))
            return at;
    }
    return std::wstring_view::npos;
}

// The switch a command line runs, and where the name that counted stands in it.
struct FoundSwitch {
    const SwitchEntry* entry = nullptr;
    std::size_t at = 0;
};

// The arguments of these switches are a reader's free text (a headword, a search): when
// the line begins with one of them, nothing in the rest picks another switch.
FoundSwitch LeadingFreeTextSwitch(std::wstring_view commandLine) {
    const std::wstring_view text = TrimText(commandLine, TextEnds::Start);
    const std::size_t start = commandLine.size() - text.size();
    for (const SwitchEntry& entry : SwitchTable) {
        const bool freeText =
            entry.id == Switch::BmAdd || entry.id == Switch::BmDel || entry.id == Switch::Find;
        if (freeText && text.size() >= entry.name.size() &&
            EqualsAsciiNoCase(text.substr(0, entry.name.size()), entry.name))
            return {&entry, start};
    }
    return {};
}

// The first switch of the table that stands in the text before its first "::": what
// follows is the path of a page inside a help file, as in
// "/bmaddWord=mk:@MSITStore:C:\Dict\Quillbay.chm::/html/exit.htm".
FoundSwitch FirstSwitchInTable(std::wstring_view commandLine) {
    const std::wstring_view searched = commandLine.substr(0, commandLine.find(L"::"));
    for (const SwitchEntry& entry : SwitchTable) {
        if (const std::size_t at = SwitchPosition(searched, entry.name);
            at != std::wstring_view::npos)
            return {&entry, at};
    }
    return {};
}

} // namespace

SwitchChoice ChooseSwitch(std::wstring_view commandLine) {
    SwitchChoice choice;
    if (commandLine.empty()) {
        choice.id = Switch::Ver;
        return choice;
    }
    FoundSwitch found = LeadingFreeTextSwitch(commandLine);
    if (!found.entry)
        found = FirstSwitchInTable(commandLine);
    if (!found.entry)
        return choice;
    const SwitchEntry& entry = *found.entry;
    choice.id = entry.id;
    // The argument follows the name that counted, not an earlier one inside a word: in
    // "C:/Tools/run.cmd /run notepad" it is " notepad". From there the name is looked for
    // exactly, so "/TITLE New" still has the empty argument.
    const auto argument = [&] { return SwitchArgument(commandLine.substr(found.at), entry.name); };
    switch (entry.form) {
    case ArgumentForm::Nothing:
        break;
    case ArgumentForm::Text:
        choice.text = argument();
        break;
    case ArgumentForm::Int16:
        choice.number = RoundToInt16(LeadingNumber(argument()));
        break;
    case ArgumentForm::Int32:
        choice.number = RoundToInt32(LeadingNumber(argument()));
        break;
    }
    return choice;
}
