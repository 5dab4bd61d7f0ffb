// The command lines whose answers the project documents (the README's switch rules), for
// the dispatch's unit test and its fuzz target alike.
#pragma once
#include "app/SwitchTable.h"

struct DocumentedLine {
    const wchar_t* line;
    Switch id;
    const wchar_t* argument;
};

inline constexpr DocumentedLine DocumentedLines[] = {
    {L"/title Find /ver", Switch::Ver, L""}, // the table's order wins
    {L"/version", Switch::Ver, L"sion"},     // a name inside a longer word that it begins
    {L"/bmaddx", Switch::BmAdd, L"x"},
    {L"/TITLE New", Switch::Title, L""}, // any ASCII case; the argument cut case-sensitively
    {L"/find abc /title x", Switch::Find, L" abc /title x"},
    {L"/Find abc", Switch::Find, L""},
    {L"/STOP", Switch::Stop, L""},
    {L"\"/pane 0\"", Switch::Pane, L""}, // after a double quote
    {L"/foo", Switch::Unknown, L""},
    {L"C:/Tools/run.cmd /run notepad", Switch::Run, L" notepad"}, // after the name that counted
    {L"x/exit /exit", Switch::Exit, L""},
};
