// A library that leaves a mark when it is loaded (tests/planted), planted beside a copy of
// Varnholt.exe under each name its commands load that Windows looks for beside a program (no
// KnownDLLs), with Wine told to prefer it there as Windows does: it runs in no command.
#include "tests/support/BuildVersion.h"
#include "tests/support/MessageBoxDriver.h"
#include "tests/support/Process.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestRegistry.h"
#include "tests/support/TestSite.h"
#include "tests/support/TestWindowProcess.h"
#include "tests/support/ViewerLog.h"
#include "tests/support/WindowText.h"

#include <oleacc.h>

#include <gtest/gtest.h>

#include <functional>

namespace {

// comctl32 too, which the manifest binds to the side-by-side store. Not version.dll, which
// Wine's user32 imports at start (Windows' does not), nor msimg32, iphlpapi and dnsapi, which
// Wine's own DLLs delay-load from beside the program whatever rule the process set.
const wchar_t* const Planted[] = {L"wininet",  L"oleacc",   L"uxtheme",     L"mpr",
                                  L"compstui", L"comctl32", L"winspool.drv"};

// The planted names that ran in that program (each leaves "<file>.<program>.ran").
std::wstring RanIn(const std::wstring& folder, const std::wstring& program) {
    std::wstring ran;
    for (const std::wstring name : Planted) {
        const std::wstring file = name.find(L'.') == std::wstring::npos ? name + L".dll" : name;
        if (FileAttributes(folder + file + L"." + program + L".ran") != INVALID_FILE_ATTRIBUTES)
            ran += name + L" ";
    }
    return ran;
}

bool EndsWith(ChildProcess& client, DWORD exitCode) {
    const DWORD code = client.Finish(15000);
    EXPECT_EQ(code, exitCode) << "the client's exit code (0xFFFFFFFF: it did not end)";
    return code == exitCode;
}

bool BoxSays(ChildProcess& client, const std::wstring& text, DWORD exitCode) {
    const MessageBoxView box = WaitForMessageBox(client.Id(), MessageBoxCaption(), 15000);
    AnswerMessageBox(box.window, IDOK);
    return box.text.find(text) != std::wstring::npos && EndsWith(client, exitCode);
}

// The About window with its update check, and a screen reader's question to the link.
bool AboutWindowAnswers(ChildProcess& client) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindAboutWindow(client.Id())) || client.WaitForExit(0); },
              20000);
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
    const HWND link = FindWindowExW(window, nullptr, L"VarnholtLinkBox", nullptr);
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(link, WM_GETOBJECT, 0, OBJID_CLIENT, SMTO_NORMAL, 10000, &answer);
    // Read before the window is asked to close: once closed, it and its link are gone.
    const bool shown = IsWindowVisible(link);
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_TRUE(window) << "no About window; the client ended with " << client.ExitCode();
    EXPECT_TRUE(shown) << "no link: the update check found no newer version";
    EXPECT_NE(answer, 0u) << "the link gave a screen reader nothing";
    return window && shown && answer != 0 && EndsWith(client, 0);
}

TEST(PlantedLibraries, NoneRunsInTheClientAndEveryCommandWorksAsBefore) {
    ASSERT_TRUE(WaitForTestSite(15000) && ResetTestSite());
    SetVersionFile("Varnholt", "Version=" + ToUtf8(NextVersion()) + ";");
    const TemporaryFolder folder;
    const std::wstring in = folder.Path(), control = L"LoadByName.exe";
    std::wstring names;
    for (const std::wstring name : Planted) {
        CopyFileW((TestBinFolder() + L"\\PlantedLibrary.dll").c_str(),
                  (in + name + (name.find(L'.') == std::wstring::npos ? L".dll" : L"")).c_str(),
                  FALSE);
        names += name + L" ";
    }
    // Wine reads each program's overrides from the registry (WINEDLLOVERRIDES set here does
    // not reach the programs this one starts).
    for (const std::wstring program : {L"Varnholt.exe", L"LoadByName.exe"}) {
        CopyFileW((TestBinFolder() + L"\\" + program).c_str(), (in + program).c_str(), FALSE);
        for (const std::wstring name : Planted)
            SetRawValue(HKEY_CURRENT_USER,
                        L"Software\\Wine\\AppDefaults\\" + program + L"\\DllOverrides", name,
                        REG_SZ, StringBytes("native,builtin"), View::Bits64);
    }
    // The control starts beside them (Wine itself loads none of them at start), and what it
    // loads by a bare name is the planted file.
    EXPECT_EQ(RunProgram(in + control, L"", 20000), 0u);
    EXPECT_EQ(RanIn(in, control), L"");
    EXPECT_EQ(RunProgram(in + control, names, 20000), 0u);
    EXPECT_EQ(RanIn(in, control), names) << "the planted files are not found";

    const std::wstring missing = in + L"Missing-7.chm", favorites = in + L"ext_BM.js";
    const std::pair<std::wstring, std::function<bool(ChildProcess&)>> commands[] = {
        {L"", AboutWindowAnswers},
        {L"/foo", [](ChildProcess& c) { return BoxSays(c, L"parameter.\r\n/foo", 0); }},
        {L"/titlePlanted new",
         [](ChildProcess& c) { return EndsWith(c, 0) && FindWindowW(nullptr, L"Planted new"); }},
        {L"/bmaddWord=mk:@MSITStore:" + in + L"Dict.chm::/a.htm",
         [&](ChildProcess& c) {
             return EndsWith(c, 0) &&
                    ReadFileBytes(favorites).value_or("").find("\"Word=a.htm") != std::string::npos;
         }},
        {L"/run" + missing, [&](ChildProcess& c) { return BoxSays(c, missing, 1); }},
    };
    for (const auto& [arguments, works] : commands) {
        const TestWindowProcess viewer = StartTestWindow(L"HH Parent", L"Planted", true);
        ChildProcess client = ChildProcess::Start(in + L"Varnholt.exe", arguments);
        EXPECT_TRUE(works(client)) << "not as before: " << arguments.substr(0, 6);
        EXPECT_EQ(RanIn(in, L"Varnholt.exe"), L"") << "after " << arguments.substr(0, 6);
    }
    for (const std::wstring program : {L"Varnholt.exe", L"LoadByName.exe"})
        DeleteKeyTreeBothViews(HKEY_CURRENT_USER, L"Software\\Wine\\AppDefaults\\" + program);
}

} // namespace
