// The switch table and the argument rule: command line in, chosen switch and argument out.
#include "platform/RunError.h"
#include "app/SwitchTable.h"
#include "tests/support/DispatchCases.h"
#include "tests/support/RunErrorOf.h"
#include "text/CaseFold.h"
#include "text/CaseFoldNative.h"

#include <gtest/gtest.h>

namespace {

TEST(Dispatch, EveryTableSwitchIsFoundByItsName) {
    for (const SwitchEntry& entry : SwitchTable)
        EXPECT_EQ(ChooseSwitch(std::wstring(entry.name).c_str()).id, entry.id)
            << std::wstring(entry.name).size();
}

// /pane rounds halves to even within 16 bits; /keyb and /keyh take a 32-bit number.
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
                 {L"/copy x", L"", 0},
                 {L"/pane 2", L"", 2},
                 {L"/pane", L"", 0},
                 {L"/pane x", L"", 0},
                 {L"/pane 2.5", L"", 2},
                 {L"/pane 3.5", L"", 4},
                 {L"/pane -2.5", L"", -2},
                 {L"/pane 32767", L"", 32767},
                 {L"/pane 32767.4", L"", 32767},
                 {L"/pane -32768", L"", -32768},
                 {L"/pane -32768.5", L"", -32768},
                 {L"/keyb 2147483647", L"", 2147483647},
                 {L"/keyh -2147483648", L"", -2147483647 - 1},
                 {L"/keyb x", L"", 0},
                 {L"/keyh &H419", L"", 1049},
                 {L"/keyb 70000", L"", 70000}};
    for (const auto& c : cases) {
        const SwitchChoice choice = ChooseSwitch(c.line);
        EXPECT_EQ(choice.text, c.text) << std::wstring(c.line).size();
        EXPECT_EQ(choice.number, c.number) << std::wstring(c.line).size();
    }
}

// Which switch a line runs and the argument it is handed: the cases a reader, a page or a
// maker writes, side by side. A switch name counts at the start of the line or after a
// blank, a tab or a double quote, before the first "::"; a line that begins with /bmadd,
// /bmdel or /find runs it whatever its free text holds.
// Under Turkish casing too, where "I" is not the capital of "i": switch names are ASCII.
class DispatchUnderEveryCasing : public ::testing::TestWithParam<bool> {
  protected:
    void SetUp() override { UseTurkishCasing(GetParam()); }
    void TearDown() override { UseTurkishCasing(false); }
};
INSTANTIATE_TEST_SUITE_P(Dispatch, DispatchUnderEveryCasing, ::testing::Values(false, true));

TEST_P(DispatchUnderEveryCasing, EveryLineRunsItsSwitchWithItsArgument) {
    const std::wstring page = L"=mk:@MSITStore:C:\\Dict\\Quillbay.chm::/html/";
    const std::wstring vera = L"=mk:@MSITStore:C:/Users/Vera/Quillbay.chm::/a.htm";
    const struct {
        std::wstring line;
        Switch id;
        std::wstring text;
    } cases[] = {
        // Beside the documented lines: the table's order wins over the position in the
        // text; a name is found inside a longer word that it begins, in any ASCII case.
        {L"/copy /stop", Switch::Stop, L""},
        {L"/title x /find abc", Switch::Find, L" abc"},
        {L"/tItLe New", Switch::Title, L""},
        {L"/EXIT", Switch::Exit, L""},
        {L"xx/CoPyyy", Switch::Unknown, L""},
        {L"xx /CoPyyy", Switch::Copy, L""},
        {L"\t/exit", Switch::Exit, L""},
        {L" ", Switch::Unknown, L""},
        {L"pane 1", Switch::Unknown, L""}, // no slash: not the switch
        {L"/stop now", Switch::Stop, L""}, // a switch that takes nothing ignores its text
        // The argument is cut untrimmed, after the first exact name from the one that counted.
        {L"/title My Book  ", Switch::Title, L" My Book  "},
        {L"/run \"C:\\Books\\Atlas.chm\"", Switch::Run, L" \"C:\\Books\\Atlas.chm\""},
        {L"/find", Switch::Find, L""},
        {L"/bmaddx=y", Switch::BmAdd, L"x=y"},
        {L"/BMADD a /bmadd b", Switch::BmAdd, L" b"},
        // A headword with "/" is a favourite's name, never a switch.
        {L"/bmadd hit/run" + page + L"a.htm", Switch::BmAdd, L" hit/run" + page + L"a.htm"},
        {L"/bmdel Go/Stop" + page, Switch::BmDel, L" Go/Stop" + page},
        {L"/bmdel x /bmadd y", Switch::BmDel, L" x /bmadd y"},
        {L"/bmadd a/exit=C:\\D\\Q.chm::/b", Switch::BmAdd, L" a/exit=C:\\D\\Q.chm::/b"},
        {L"  /BMADD a::/bmadd b", Switch::BmAdd, L" b"},
        // A location written with forward slashes, and a maker's folder.
        {L"/bmadd Word" + vera, Switch::BmAdd, L" Word" + vera},
        {L"/run C:/Verlag/Q.chm", Switch::Run, L" C:/Verlag/Q.chm"},
        {L"/move C:/Users/Vera/Q", Switch::Move, L" C:/Users/Vera/Q"},
        // A title or a search with "/" inside a word.
        {L"/title Server/Verbindung", Switch::Title, L" Server/Verbindung"},
        {L"/find Server/Verbindung", Switch::Find, L" Server/Verbindung"},
        // A page's own path after "::" never counts.
        {L"/bmadd" + page + L"exit.htm", Switch::BmAdd, page + L"exit.htm"},
        {L"x::/stop", Switch::Unknown, L""},
        {L"x:: /stop", Switch::Unknown, L""},
        // U+0130 and U+0131 (Turkish dotted capital and dotless small i) and U+017F (long s)
        // have ASCII letters as case partners in some locale; a switch name never does.
        {L"/t\u0130tle x", Switch::Unknown, L""},
        {L"/T\u0131TLE x", Switch::Unknown, L""},
        {L"/\u017Ftop", Switch::Unknown, L""},
        {L"/FIND x", Switch::Find, L""},
        {L"", Switch::Ver, L""}, // the About window
    };
    ASSERT_EQ(EqualsNoCase(L"TITLE", L"title"), !GetParam()) << "the casing is not in force";
    const auto runs = [](const std::wstring& line, Switch id, const std::wstring& text) {
        const SwitchChoice choice = ChooseSwitch(line.c_str());
        EXPECT_EQ(choice.id, id) << ::testing::PrintToString(line);
        EXPECT_EQ(choice.text, text) << ::testing::PrintToString(line);
    };
    for (const DocumentedLine& d : DocumentedLines)
        runs(d.line, d.id, d.argument);
    for (const auto& c : cases)
        runs(c.line, c.id, c.text);
    for (const wchar_t* name : {L" Server/Verbindung", L" Entry/Exit", L" Control/Panel",
                                L" Nation/Region", L" Book/title", L" Search/find"})
        runs(L"/bmadd" + (name + page) + L"a", Switch::BmAdd, name + page + L"a");
    // A switch name in a page's address does not count.
    for (const wchar_t* path : {L"verbs/run.htm", L"region/stop.htm", L"titles/panel.htm",
                                L"keyboard/movement.htm", L"find/jump.htm"})
        runs(L"/bmdelWord" + page + path, Switch::BmDel, L"Word" + page + path);
}

TEST(Dispatch, NumbersOutsideTheTargetAreAnOverflow) {
    for (const wchar_t* line :
         {L"/pane 32768", L"/pane 40000", L"/pane 32767.5", L"/pane -32769", L"/pane -32768.6",
          L"/keyb 99999999999", L"/keyb 2147483648", L"/keyh -2147483649", L"/keyb &H100000000"})
        EXPECT_EQ(KindOf([&] { ChooseSwitch(line); }), ErrorKind::Overflow)
            << std::wstring(line).size();
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
