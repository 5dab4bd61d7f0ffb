#include "app/SwitchTable.h"

#include "app/SwitchArguments.h"
#include "text/Numbers.h"
#include "text/CaseFold.h"

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
    while (i < full.size() && (full[i] == L' ' || full[i] == L'\t'))
        ++i;
    return std::wstring(full.substr(i));
}

SwitchChoice ChooseSwitch(std::wstring_view commandLine) {
    SwitchChoice choice;
    if (commandLine.empty()) {
        choice.id = Switch::Ver;
        return choice;
    }
    // What follows the first "::" is the path of a page inside a help file ("/bmaddWord=
    // mk:@MSITStore:C:\Dict\Quillbay.chm::/html/exit.htm"): a switch name there is a page's.
    const std::wstring_view searched = commandLine.substr(0, commandLine.find(L"::"));
    for (const SwitchEntry& entry : SwitchTable) {
        if (FindAsciiNoCase(searched, entry.name) == std::wstring_view::npos)
            continue;
        choice.id = entry.id;
        switch (entry.form) {
        case ArgumentForm::Nothing:
            break;
        case ArgumentForm::Text:
            choice.text = SwitchArgument(commandLine, entry.name);
            break;
        case ArgumentForm::Int16:
            choice.number = RoundToInt16(LeadingNumber(SwitchArgument(commandLine, entry.name)));
            break;
        case ArgumentForm::Int32:
            choice.number = RoundToInt32(LeadingNumber(SwitchArgument(commandLine, entry.name)));
            break;
        }
        return choice;
    }
    return choice;
}
