// The switch table and the argument rule: command line in, chosen switch and argument out.
#include "platform/RunError.h"
#include "app/SwitchTable.h"

#include <gtest/gtest.h>

namespace {

SwitchChoice Choose(const wchar_t* commandLine) {
    return ChooseSwitch(commandLine);
}

TEST(Dispatch, EmptyCommandLineOpensAboutWithEmptyArgument) {
    const SwitchChoice c = Choose(L"");
    EXPECT_EQ(c.id, Switch::Ver);
    EXPECT_EQ(c.text, L"");
}

TEST(Dispatch, UnknownTextChoosesNothing) {
    EXPECT_EQ(Choose(L"/foo").id, Switch::Unknown);
    EXPECT_EQ(Choose(L" ").id, Switch::Unknown);
    EXPECT_EQ(Choose(L"pane 1").id, Switch::Unknown); // no slash: not the switch
}

TEST(Dispatch, EveryTableSwitchIsFoundByItsName) {
    for (const SwitchEntry& entry : SwitchTable)
        EXPECT_EQ(Choose(std::wstring(entry.name).c_str()).id, entry.id)
            << std::wstring(entry.name).size();
}

TEST(Dispatch, EverySwitchIsHandedItsArgumentInItsForm) {
    const struct {
        const wchar_t* line;
        std::wstring text;
        std::int32_t number;
    } cases[] = {{L"/ver 9", L" 9", 0},
                 {L"/stop x", L"", 0},
                 {L"/pane 3", L"", 3},
                 {L"/find abc", L" abc", 0},
                 {L"/jump x", L"", 0},
                 {L"/exit x", L"", 0},
                 {L"/regA=B=C", L"A=B=C", 0},
                 {L"/titleNew|Old", L"New|Old", 0},
                 {L"/keyb 1049", L"", 1049},
                 {L"/keyh 1058", L"", 1058},
                 {L"/moveQuillbay", L"Quillbay", 0},
                 {L"/runC:\\D\\Q.chm", L"C:\\D\\Q.chm", 0},
                 {L"/bmaddW=C:\\D\\Q.chm", L"W=C:\\D\\Q.chm", 0},
                 {L"/bmdelW=C:\\D\\Q.chm", L"W=C:\\D\\Q.chm", 0},
                 {L"/copy x", L"", 0}};
    for (const auto& c : cases) {
        const SwitchChoice choice = Choose(c.line);
        EXPECT_EQ(choice.text, c.text) << std::wstring(c.line).size();
        EXPECT_EQ(choice.number, c.number) << std::wstring(c.line).size();
    }
}

TEST(Dispatch, TableOrderWinsOverPositionInText) {
    EXPECT_EQ(Choose(L"/title Find /ver").id, Switch::Ver);
    EXPECT_EQ(Choose(L"/copy /stop").id, Switch::Stop);
    EXPECT_EQ(Choose(L"/bmdel x /bmadd y").id, Switch::BmAdd);
    // "/find" precedes "/title" in the table, wherever each stands
    const SwitchChoice c = Choose(L"/title x /find abc");
    EXPECT_EQ(c.id, Switch::Find);
    EXPECT_EQ(c.text, L" abc");
}

TEST(Dispatch, SwitchIsASubstringMatchIgnoringCase) {
    EXPECT_EQ(Choose(L"/version").id, Switch::Ver);
    EXPECT_EQ(Choose(L"/bmaddx").id, Switch::BmAdd);
    EXPECT_EQ(Choose(L"/STOP").id, Switch::Stop);
    EXPECT_EQ(Choose(L"xx/CoPyyy").id, Switch::Copy);
}

TEST(Dispatch, ASwitchNameInAPageAddressDoesNotCount) {
    const std::wstring page = L"Word=mk:@MSITStore:C:\\Dict\\Quillbay.chm::/html/";
    SwitchChoice c = Choose((L"/bmadd" + page + L"exit.htm").c_str());
    EXPECT_EQ(c.id, Switch::BmAdd);
    EXPECT_EQ(c.text, page + L"exit.htm");
    for (const wchar_t* path : {L"verbs/run.htm", L"region/stop.htm", L"titles/panel.htm",
                                L"keyboard/movement.htm", L"find/jump.htm"})
        EXPECT_EQ(Choose((L"/bmdel" + page + path).c_str()).id, Switch::BmDel) << path;
    // Before the first "::" every switch still counts; the argument is cut from the whole.
    EXPECT_EQ(Choose(L"/bmadd a/exit=C:\\D\\Q.chm::/b").id, Switch::Exit);
    EXPECT_EQ(Choose(L"x::/stop").id, Switch::Unknown);
    EXPECT_EQ(Choose(L"/BMADD a::/bmadd b").text, L" b");
}

TEST(Dispatch, OnlyAsciiLettersMatchWithoutCase) {
    // U+0130 and U+0131 (Turkish dotted capital and dotless small i) and U+017F (long s)
    // have ASCII letters as case partners in some locale; a switch name never does.
    EXPECT_EQ(Choose(L"/t\u0130tle x").id, Switch::Unknown);
    EXPECT_EQ(Choose(L"/T\u0131TLE x").id, Switch::Unknown);
    EXPECT_EQ(Choose(L"/\u017Ftop").id, Switch::Unknown);
    EXPECT_EQ(Choose(L"/EXIT").id, Switch::Exit);
    EXPECT_EQ(Choose(L"/FIND x").id, Switch::Find);
}

TEST(Dispatch, ArgumentIsCutCaseSensitivelyAndUntrimmed) {
    SwitchChoice c = Choose(L"/TITLE New");
    EXPECT_EQ(c.id, Switch::Title);
    EXPECT_EQ(c.text, L"");
    c = Choose(L"/title My Book  ");
    EXPECT_EQ(c.text, L" My Book  ");
    c = Choose(L"/find abc /title x");
    EXPECT_EQ(c.id, Switch::Find);
    EXPECT_EQ(c.text, L" abc /title x");
    c = Choose(L"/run \"C:\\Books\\Atlas.chm\"");
    EXPECT_EQ(c.text, L" \"C:\\Books\\Atlas.chm\"");
    EXPECT_EQ(Choose(L"/find").text, L"");
    EXPECT_EQ(Choose(L"/Find abc").text, L"");
}

TEST(Dispatch, ArgumentStartsAfterTheFirstExactOccurrence) {
    // the first exact "/bmadd" is inside "/bmaddx": the argument starts right after it
    EXPECT_EQ(Choose(L"/bmaddx=y").text, L"x=y");
    EXPECT_EQ(Choose(L"/BMADD a /bmadd b").text, L" b");
}

TEST(Dispatch, PaneRoundsHalvesToEvenWithin16Bits) {
    EXPECT_EQ(Choose(L"/pane 2").number, 2);
    EXPECT_EQ(Choose(L"/pane").number, 0);
    EXPECT_EQ(Choose(L"/pane x").number, 0);
    EXPECT_EQ(Choose(L"/pane 2.5").number, 2);
    EXPECT_EQ(Choose(L"/pane 3.5").number, 4);
    EXPECT_EQ(Choose(L"/pane -2.5").number, -2);
    EXPECT_EQ(Choose(L"/pane 32767").number, 32767);
    EXPECT_EQ(Choose(L"/pane 32767.4").number, 32767);
    EXPECT_EQ(Choose(L"/pane -32768").number, -32768);
    EXPECT_EQ(Choose(L"/pane -32768.5").number, -32768);
}

TEST(Dispatch, NumbersOutsideTheTargetAreAnOverflow) {
    for (const wchar_t* line :
         {L"/pane 32768", L"/pane 40000", L"/pane 32767.5", L"/pane -32769", L"/pane -32768.6",
          L"/keyb 99999999999", L"/keyb 2147483648", L"/keyh -2147483649", L"/keyb &H100000000"}) {
        try {
            Choose(line);
            ADD_FAILURE() << "no overflow";
        } catch (const RunError& e) {
            EXPECT_EQ(e.Kind(), ErrorKind::Overflow);
        }
    }
    EXPECT_EQ(Choose(L"/keyb 2147483647").number, 2147483647);
    EXPECT_EQ(Choose(L"/keyh -2147483648").number, -2147483647 - 1);
}

TEST(Dispatch, KeyboardSwitchesTakeA32BitNumber) {
    EXPECT_EQ(Choose(L"/keyb 1049").number, 1049);
    EXPECT_EQ(Choose(L"/keyb x").number, 0);
    EXPECT_EQ(Choose(L"/keyh &H419").number, 1049);
    EXPECT_EQ(Choose(L"/keyb 70000").number, 70000);
}

TEST(Dispatch, SwitchesThatTakeNothingIgnoreTheirText) {
    const SwitchChoice c = Choose(L"/stop now");
    EXPECT_EQ(c.id, Switch::Stop);
    EXPECT_EQ(c.text, L"");
    EXPECT_EQ(c.number, 0);
}

TEST(CommandLine, ProgramNameAndSeparatingBlanksAreRemoved) {
    EXPECT_EQ(ArgumentsOfCommandLine(L"Varnholt.exe /pane 1"), L"/pane 1");
    EXPECT_EQ(ArgumentsOfCommandLine(L"\"C:\\Program Files\\V\\Varnholt.exe\"   /find  a "),
              L"/find  a ");
    EXPECT_EQ(ArgumentsOfCommandLine(L"\"C:\\x y\\V.exe\""), L"");
    EXPECT_EQ(ArgumentsOfCommandLine(L"V.exe"), L"");
    EXPECT_EQ(ArgumentsOfCommandLine(L"V.exe\t/stop"), L"/stop");
}

} // namespace
