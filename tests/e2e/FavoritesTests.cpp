// /bmadd and /bmdel with the real Varnholt.exe, each test in its own folder: the bytes
// of ext_BM.js, its attributes, the prompt for a damaged file, names planted in the folder
// and a file held by another program, a client killed in the middle of the rewrite, and twenty
// clients at once.
#include "favorites/FaultInjection.h"
#include "tests/support/BuildVersion.h"
#include "tests/support/ClientRun.h"
#include "tests/support/FavoritesLines.h"
#include "tests/support/MessageBoxDriver.h"
#include "tests/support/Process.h"
#include "tests/support/StandIn.h"
#include "tests/support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace {

const std::wstring Caption = MessageBoxCaption();
constexpr DWORD ReadOnlyHidden = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN;
const std::string Header = ";var ext_BM=\"\"\r\n";

// Lines of the file on disk, each with its CR LF.
std::string Section(const std::string& name) {
    return SectionLineOf(name) + "\r\n";
}
std::string Entry(const std::string& name, const std::string& topic) {
    return EntryLineOf(name, topic) + "\r\n";
}

class Favorites : public ::testing::Test {
  protected:
    std::wstring FavoritesFile() const { return folder_.Path() + L"ext_BM.js"; }
    std::wstring Location(const std::wstring& topic, const std::wstring& helpFile = L"Quillbay.chm",
                          const std::wstring& prefix = L"mk:@MSITStore:") const {
        return prefix + folder_.Path() + helpFile + L"::/" + topic;
    }
    std::optional<std::string> Bytes() const { return ReadFileBytes(FavoritesFile()); }
    DWORD Attributes() const { return FileAttributes(FavoritesFile()); }
    void WriteFavorites(const std::string& bytes, DWORD attributes = ReadOnlyHidden) const {
        ASSERT_TRUE(WriteFileBytes(FavoritesFile(), bytes));
        ASSERT_TRUE(SetFileAttributesW(FavoritesFile().c_str(), attributes));
    }
    // A run that must end quietly: exit code 0 and no message box.
    void RunQuietly(const std::wstring& arguments) const {
        EXPECT_EQ(RunVarnholt(arguments, 60000), 0u) << "for " << arguments.size();
        EXPECT_TRUE(FindMessageBoxes(0, Caption).empty());
    }
    // Only the Favorites file is left: no temporary file, no lock file.
    void ExpectOnlyTheFavoritesFile() const {
        EXPECT_EQ(FolderEntries(folder_.Path()), std::vector<std::wstring>{L"ext_BM.js"});
    }

    TemporaryFolder folder_;
};

TEST_F(Favorites, EveryCharacterOutsideAsciiIsWrittenAsAnEscapeAndFoundAgain) {
    // Latin-1, Greek capitals, a full-width quotation mark (best fit would make it a real
    // quote) and a character beyond U+FFFF, for a help file with a Cyrillic name: a page in
    // any charset reads the same ASCII.
    const std::wstring helpFile = L"\u0421\u043b.chm";
    RunQuietly(L"/bmadd Caf\u00e9\u039b\u039f\u0393\u039f\u03a3\uff02\U0001F600=" +
               Location(L"\u00fc.htm", helpFile));
    const std::string section = Section("\\u0421\\u043B");
    EXPECT_EQ(Bytes(),
              Header + section +
                  Entry(" Caf\\u00E9\\u039B\\u039F\\u0393\\u039F\\u03A3\\uFF02\\uD83D\\uDE00",
                        "\\u00FC.htm"));
    // The same name in small letters, final sigma included, replaces it in place.
    const std::wstring small = L" caf\u00c9\u03bb\u03bf\u03b3\u03bf\u03c2\uff02\U0001F600=";
    RunQuietly(L"/bmadd" + small + Location(L"b.htm", helpFile));
    EXPECT_EQ(
        Bytes(),
        Header + section +
            Entry(" caf\\u00C9\\u03BB\\u03BF\\u03B3\\u03BF\\u03C2\\uFF02\\uD83D\\uDE00", "b.htm"));
    RunQuietly(L"/bmdel" + small + Location(L"b.htm", helpFile));
    EXPECT_EQ(Bytes(), Header + section);
}

using RussianLocaleFavorites = Favorites;

TEST_F(RussianLocaleFavorites, AFileWrittenInCodePage1251IsReadInItAndLeftInAscii) {
    ASSERT_EQ(GetACP(), 1251u);
    WriteFavorites(Header + Section("\xD1\xEB") + Entry(" \xD1\xEB\xEE\xE2\xEE", "a.htm") +
                   "// \xFD\xF2\xEE\r\n");
    RunQuietly(L"/bmadd \u0421\u041b\u041e\u0412\u041e=" + Location(L"b.htm", L"\u0421\u043b.chm"));
    EXPECT_EQ(Bytes(), Header + Section("\\u0421\\u043B") +
                           Entry(" \\u0421\\u041B\\u041E\\u0412\\u041E", "b.htm") +
                           "// \\u044D\\u0442\\u043E\r\n");
}

// The test bed shares /tmp as \\localhost\tmp (Wine: dosdevices/unc/localhost/tmp).
TEST(FavoritesOnAShare, AHelpFileOnAShareKeepsItsFavourites) {
    if (!RunningUnderWine())
        GTEST_SKIP() << "the share \\localhost\tmp is the Wine test bed's";
    const TemporaryFolder share(L"\\\\localhost\\tmp\\");
    ASSERT_NE(FileAttributes(share.Path()), INVALID_FILE_ATTRIBUTES) << "no \\localhost\tmp";
    const std::wstring location = L"=mk:@MSITStore:" + share.Path() + L"Quillbay.chm::/a.htm";
    EXPECT_EQ(RunVarnholt(L"/bmadd Word" + location, 60000), 0u);
    EXPECT_EQ(RunVarnholt(L"/bmadd Next" + location, 60000), 0u);
    EXPECT_EQ(RunVarnholt(L"/bmdel Word" + location, 60000), 0u);
    EXPECT_EQ(ReadFileBytes(share.Path() + L"ext_BM.js"),
              Header + Section("Quillbay") + Entry(" Next", "a.htm"));
    EXPECT_EQ(FolderEntries(share.Path()), std::vector<std::wstring>{L"ext_BM.js"});
}

// Runs that end quietly, each case from an empty folder or a file written first (read-only
// and hidden unless said); afterwards the file is read-only and hidden and alone in its
// folder. A page's path may hold a switch name: "/exit" after "::" is the page's.
TEST_F(Favorites, QuietRunsLeaveTheFileTheyShould) {
    std::wstring slashed = Location(L"html/verbs/exit.htm");
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    const std::string quillbay = Header + Section("Quillbay");
    const struct {
        const char* name;
        std::vector<std::wstring> runs;
        std::optional<std::string> after; // nothing: no file at all
        std::string before = "";          // written first when not empty
        DWORD attributes = ReadOnlyHidden;
    } rows[] = {
        {"the first add writes three lines",
         {L"/bmadd Word=" + Location(L"html/a.htm")},
         quillbay + Entry(" Word", "html/a.htm")},
        {"lines ending in LF alone come back with CR LF",
         {L"/bmadd Word=" + Location(L"a.htm")},
         quillbay + Entry(" Old", "o.htm") + Entry(" Word", "a.htm"),
         ";var ext_BM=\"\"\n+\"[Quillbay]\x01\"\n+\" Old=o.htm\x01\"\n"},
        {"the same name replaces in place",
         {L"/bmadd Word=" + Location(L"html/a.htm"), L"/bmadd Word=" + Location(L"html/a.htm")},
         quillbay + Entry(" Word", "html/a.htm")},
        {"the same name in another letter case replaces in place",
         {L"/bmadd WORD=" + Location(L"html/b.htm")},
         quillbay + Entry(" WORD", "html/b.htm"),
         quillbay + Entry(" Word", "html/a.htm")},
        {"a path with forward slashes finds the same file",
         {L"/bmadd Word=" + Location(L"html/a.htm"), L"/bmadd Next=" + slashed},
         quillbay + Entry(" Word", "html/a.htm") + Entry(" Next", "html/verbs/exit.htm")},
        {"two help files keep their own sections",
         {L"/bmadd A=" + Location(L"a.htm"),
          L"/bmadd B=" + Location(L"b.htm", L"Other.chm", L"ms-its:"),
          L"/bmadd C=" + Location(L"c.htm"), L"/bmadd D=" + Location(L"d.htm", L"Loud.CHM")},
         quillbay + Entry(" A", "a.htm") + Entry(" C", "c.htm") + Section("Other") +
             Entry(" B", "b.htm") + Section("Loud.CHM") + Entry(" D", "d.htm")},
        {"a delete removes the first match only",
         {L"/bmdel Word=" + Location(L"ignored.htm")},
         quillbay + Entry(" x", "x.htm") + Entry(" word", "2.htm") + Section("Other") +
             Entry(" Word", "3.htm"),
         quillbay + Entry(" Word", "1.htm") + Entry(" x", "x.htm") + Entry(" word", "2.htm") +
             Section("Other") + Entry(" Word", "3.htm")},
        {"every run rewrites the whole file",
         {L"/bmdel absent=" + Location(L"a.htm")},
         quillbay + "// keep \"me\"\r\n" + Entry(" x", "x.htm"),
         Header + "  " + Section("Quillbay") + "\r\n" + "+\"bad\x01=x\x01\"\r\n" +
             "// keep \"me\"\r" + Entry(" x", "x.htm"),
         FILE_ATTRIBUTE_NORMAL},
        {"a delete in an empty folder leaves the header alone",
         {L"/bmdel Word=" + Location(L"a.htm")},
         Header},
        {"without a location nothing is touched", {L"/bmadd Word", L"/bmadd Word="}, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RemoveFolderTree(folder_.Path());
        ASSERT_TRUE(CreateDirectoryW(folder_.Path().c_str(), nullptr));
        if (!row.before.empty())
            WriteFavorites(row.before, row.attributes);
        for (const std::wstring& run : row.runs)
            RunQuietly(run);
        if (!row.after) {
            EXPECT_TRUE(FolderEntries(folder_.Path()).empty());
            continue;
        }
        EXPECT_EQ(Bytes(), row.after);
        EXPECT_EQ(Attributes() & ReadOnlyHidden, ReadOnlyHidden);
        ExpectOnlyTheFavoritesFile();
    }
}

// Runs that end in a report, the file left as it was. An error report ends the run with
// 1: a help file's path without a drive letter; a folder that takes no files (/sys under
// Wine), reported well before the minute that a file in use is waited for; a file too large
// to be a Favorites file. A warning refuses an entry that would break the script and ends
// the run with 0.
TEST_F(Favorites, ReportsEndTheRunAndLeaveTheFileAsItWas) {
    const std::string large((16 << 20) + 1, '\0');
    const std::string kept = Header + Section("Quillbay") + Entry(" Old", "o.htm");
    const struct {
        std::wstring arguments;
        std::wstring says; // where the error report begins, somewhere in the warning
        const std::string& before;
        LPCWSTR icon = IDI_WARNING;
    } rows[] = {
        {L"/bmadd W=Quillbay.chm::/a.htm", L"Run-time error: Invalid procedure call or argument",
         large, IDI_ERROR},
        {L"/bmadd Word=Z:\\sys\\kernel\\Quillbay.chm::/a.htm",
         L"Run-time error: File access error\r\nThe folder Z:\\sys\\kernel\\ cannot be written "
         L"to.",
         large, IDI_ERROR},
        {L"/bmadd Word=" + Location(L"a.htm"),
         L"Run-time error: File access error\r\n" + FavoritesFile() +
             L"\r\nThe file is larger than 16 MB; it is left as it is.",
         large, IDI_ERROR},
        {L"/bmadd say \"hi\"=" + Location(L"a.htm"), L"name contains a double quote", kept},
        {L"/bmadd a\\b=" + Location(L"a.htm"), L"name contains a backslash", kept},
        {L"/bmadd Quote=" + Location(L"a\"b.htm"), L"topic contains a double quote", kept},
        // Read as a section line.
        {L"/bmadd[Other]=" + Location(L"a.htm"), L"name begins with \"[\"", kept},
        // An "=" before the help file's path was the reader's, in the name.
        {L"/bmadd E=mc2=" + Location(L"a.htm"), L"name contains an equals sign (=)", kept},
        {L"/bmdel Old=x=" + Location(L""), L"name contains an equals sign (=)", kept},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(ToUtf8(row.arguments));
        if (row.arguments.find(L"Z:\\sys") != std::wstring::npos && !RunningUnderWine())
            continue; // a folder where no file can be created
        WriteFavorites(row.before);
        const auto [box, exitCode] = RunAndAnswer(row.arguments, IDOK, 20000);
        ASSERT_TRUE(box.window) << "no report within 20 seconds";
        const std::size_t at = box.text.find(row.says);
        EXPECT_TRUE(row.icon == IDI_ERROR ? at == 0 : at != std::wstring::npos) << box.text;
        EXPECT_EQ(box.icon, row.icon);
        EXPECT_EQ(exitCode, row.icon == IDI_ERROR ? 1u : 0u);
        EXPECT_EQ(Bytes(), row.before);
        ExpectOnlyTheFavoritesFile();
    }
}

TEST_F(Favorites, DamagedFirstLineAsksAndNoLeavesTheFileAsItWasYesRecreatesIt) {
    const std::string rest = Header + Section("Quillbay") + Entry(" Old", "o.htm");
    for (const auto& [damaged, answer] :
         {std::pair{" " + rest, IDNO}, {"\xEF\xBB\xBF" + rest, IDYES}}) {
        WriteFavorites(damaged);
        const auto [box, exitCode] = RunAndAnswer(L"/bmadd Word=" + Location(L"a.htm"), answer);
        ASSERT_TRUE(box.window);
        EXPECT_EQ(box.text,
                  L"The Favorites file is corrupted, and will be recreated.\r\nContinue?");
        EXPECT_EQ(box.icon, IDI_QUESTION);
        EXPECT_EQ(box.buttons.size(), 2u);
        EXPECT_EQ(box.defaultButtonId, IDYES);
        EXPECT_EQ(exitCode, 0u);
        EXPECT_EQ(Bytes(), answer == IDNO ? damaged
                                          : Header + Section("Quillbay") + Entry(" Word", "a.htm"));
        EXPECT_EQ(Attributes() & ReadOnlyHidden, ReadOnlyHidden);
        ExpectOnlyTheFavoritesFile();
    }
}

// A headword with "/" is a favourite's name, in a folder and a location written with
// forward slashes too: no switch of the name runs, and the viewer under the pointer
// gets nothing.
TEST_F(Favorites, HeadwordsWithASlashAreFavouritesAndNothingElseRuns) {
    StandIn viewer(LeftPlace);
    ASSERT_TRUE(viewer.InFront() && viewer.UnderPointer());
    const std::wstring folder = folder_.Path() + L"Verlag\\";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    std::wstring slashed = L"mk:@MSITStore:" + folder + L"Quillbay.chm::/a.htm";
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    std::string expected = Header + Section("Quillbay");
    for (const char* name : {"hit/run", "Server/Verbindung", "Entry/Exit", "Control/Panel",
                             "Nation/Region", "Book/title", "Search/find", "Go/Stop", "Long/Jump",
                             "Moon/Movement", "Key/keyb", "Paste/copy"}) {
        RunQuietly(L"/bmadd " + std::wstring(name, name + strlen(name)) + L"=" + slashed);
        expected += Entry(std::string(" ") + name, "a.htm");
    }
    EXPECT_EQ(ReadFileBytes(folder + L"ext_BM.js"), expected);
    RunQuietly(L"/bmdel Entry/Exit=" + slashed);
    ASSERT_TRUE(viewer.Settle());
    EXPECT_TRUE(viewer.Messages().empty()) << viewer.Messages().front().event;
    EXPECT_EQ(ReadFileBytes(folder + L"ext_BM.js")->find("Entry/Exit"), std::string::npos);
}

// The client ends abruptly at one step after another (a crash point of the test build);
// before the replacing rename the folder holds the whole old file, after it the whole new.
TEST_F(Favorites, AClientKilledAtAnyStepLeavesTheWholeOldOrTheWholeNewFile) {
#ifndef VARNHOLT_FAULT_INJECTION
    GTEST_SKIP() << "crash points exist only in a build with VARNHOLT_FAULT_INJECTION";
#endif
    // Eight entries of one help file, the fourth with that topic, and one of another.
    const auto file = [](const std::string& fourth) {
        std::string bytes = Header + Section("Quillbay");
        for (int i = 1; i <= 8; ++i)
            bytes += Entry(" Entry" + std::to_string(i),
                           i == 4 ? fourth : "e" + std::to_string(i) + ".htm");
        return bytes + Section("Other") + Entry(" Else", "x.htm");
    };
    const std::string old = file("e4.htm"), renewed = file("new.htm");
    const std::wstring command = L"/bmadd Entry4=" + Location(L"new.htm");
    for (const std::wstring step : {L"locked", L"read", L"temp-created", L"temp-half",
                                    L"temp-written", L"protected", L"replaced"}) {
        SCOPED_TRACE(ToUtf8(step));
        WriteFavorites(old);
        SetEnvironmentVariableW(L"VARNHOLT_CRASH_AT", step.c_str());
        const DWORD exitCode = RunVarnholt(command, 60000);
        SetEnvironmentVariableW(L"VARNHOLT_CRASH_AT", nullptr);
        ASSERT_EQ(exitCode, CrashExitCode) << "the client did not stop at this step";
        EXPECT_EQ(Bytes(), step == L"replaced" ? renewed : old);
        EXPECT_EQ(FileAttributes(FavoritesFile() + L".lock"), INVALID_FILE_ATTRIBUTES)
            << "the lock ends with the process that held it";

        // The next run finds nothing in its way and leaves nothing behind.
        RunQuietly(command);
        EXPECT_EQ(Bytes(), renewed);
        EXPECT_EQ(Attributes() & ReadOnlyHidden, ReadOnlyHidden);
        ExpectOnlyTheFavoritesFile();
    }
}

TEST_F(Favorites, ARecreationKilledHalfwayLeavesTheDamagedFileAsItWas) {
#ifndef VARNHOLT_FAULT_INJECTION
    GTEST_SKIP() << "crash points exist only in a build with VARNHOLT_FAULT_INJECTION";
#endif
    const std::string damaged = "junk\r\n" + Section("Quillbay") + Entry(" Old", "o.htm");
    WriteFavorites(damaged);
    SetEnvironmentVariableW(L"VARNHOLT_CRASH_AT", L"temp-half");
    const auto [box, exitCode] = RunAndAnswer(L"/bmadd Word=" + Location(L"a.htm"), IDYES);
    SetEnvironmentVariableW(L"VARNHOLT_CRASH_AT", nullptr);
    ASSERT_TRUE(box.window);
    EXPECT_EQ(exitCode, CrashExitCode);
    EXPECT_EQ(Bytes(), damaged);
}

// Someone who can write the dictionary's folder (a share, Public Documents) plants links at
// the names the client uses, or another program holds the file. The favourite is added to
// a new file of the client's own (a taken lock's name and a held file are waited for until
// let go), and nothing outside the folder is written, created or removed.
TEST_F(Favorites, NamesPlantedInTheFolderReachNothingOutsideIt) {
    if (!RunningUnderWine())
        GTEST_SKIP() << "the links are Unix symbolic links, which Wine follows as Windows links";
    const TemporaryFolder outside;
    const std::wstring own = outside.Path() + L"own.js";
    const std::string old = Header + Section("Quillbay") + Entry(" Old", "o.htm");
    ASSERT_TRUE(WriteFileBytes(own, old) && SetFileAttributesW(own.c_str(), ReadOnlyHidden));
    ASSERT_TRUE(CreateDirectoryW((outside.Path() + L"folder").c_str(), nullptr));
    const auto outsideNow = [&] {
        return std::make_tuple(FolderEntries(outside.Path()),
                               FolderEntries(outside.Path() + L"folder\\"), ReadFileBytes(own),
                               FileAttributes(own));
    };
    const auto before = outsideNow();
    enum class Then { Added, WaitedFor };
    const struct {
        const wchar_t* name;
        const wchar_t* target; // of the link, in outside; nullptr for none
        Then then;
        bool keepsOld; // the old file's entry is read (through the link, or from the file)
    } rows[] = {
        {L"ext_BM.js.lock", L"own.js", Then::WaitedFor, false},
        {L"ext_BM.js.lock", L"absent.js", Then::WaitedFor, false},
        {L"ext_BM.js.lock", L"folder", Then::WaitedFor, false},
        {L"ext_BM.js.tmp", L"own.js", Then::Added, false},
        {L"ext_BM.js.tmp", L"absent.js", Then::Added, false},
        {L"ext_BM.js.0123456789abcdef.tmp", L"own.js", Then::Added, false},
        {L"ext_BM.js", L"absent.js", Then::Added, false},
        {L"ext_BM.js", L"own.js", Then::Added, true},
        {L"ext_BM.js", nullptr, Then::WaitedFor, true}, // the old file, held without sharing
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.name << " -> " << (row.target ? row.target : L"-"));
        RemoveFolderTree(folder_.Path());
        ASSERT_TRUE(CreateDirectoryW(folder_.Path().c_str(), nullptr));
        std::optional<UnixLink> link;
        UniqueFile holder;
        if (row.target) {
            link.emplace(folder_.Path() + row.name, outside.Path() + row.target);
        } else {
            WriteFavorites(old);
            holder.reset(CreateFileW(FavoritesFile().c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                     nullptr, OPEN_EXISTING, 0, nullptr));
        }
        const std::wstring add = L"/bmadd Word=" + Location(L"a.htm");
        if (row.then == Then::WaitedFor) {
            ChildProcess client = ChildProcess::Start(VarnholtPath(), add);
            // Neither an end nor an error report while the name is taken or the file held.
            EXPECT_FALSE(WaitUntil(
                [&] {
                    return client.WaitForExit(0) || !FindMessageBoxes(client.Id(), Caption).empty();
                },
                3000))
                << "the client gave up or reported an error";
            EXPECT_EQ(outsideNow(), before);
            link.reset();
            holder.reset();
            ASSERT_EQ(client.Finish(30000), 0u) << "0xFFFFFFFF: the client did not end";
        } else {
            RunQuietly(add);
        }
        EXPECT_EQ(Bytes(),
                  (row.keepsOld ? old : Header + Section("Quillbay")) + Entry(" Word", "a.htm"));
        EXPECT_EQ(Attributes() & ReadOnlyHidden, ReadOnlyHidden);
        EXPECT_EQ(outsideNow(), before);
    }
}

TEST_F(Favorites, TwentyClientsAtOnceKeepAllTwentyEntries) {
    std::vector<ChildProcess> clients;
    for (int i = 1; i <= 20; ++i)
        clients.push_back(ChildProcess::Start(VarnholtPath(), L"/bmadd N" + std::to_wstring(i) +
                                                                  L"=" + Location(L"a.htm")));
    for (auto& client : clients)
        EXPECT_EQ(client.Finish(90000), 0u) << "0xFFFFFFFF: a client did not end";
    const std::optional<std::string> bytes = Bytes();
    ASSERT_TRUE(bytes);
    ASSERT_EQ(bytes->rfind(Header + Section("Quillbay"), 0), 0u) << *bytes;
    std::size_t lines = 0;
    for (std::size_t p = bytes->find("\r\n"); p != std::string::npos;
         p = bytes->find("\r\n", p + 1))
        ++lines;
    EXPECT_EQ(lines, 22u) << *bytes;
    for (int i = 1; i <= 20; ++i)
        EXPECT_NE(bytes->find(Entry(" N" + std::to_string(i), "a.htm")), std::string::npos) << i;
    EXPECT_EQ(Attributes() & ReadOnlyHidden, ReadOnlyHidden);
    ExpectOnlyTheFavoritesFile();
}

} // namespace
