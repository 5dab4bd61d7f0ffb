// Libraries planted beside a copy of the real Varnholt.exe under the names of the system's
// libraries that its commands load, with Wine told to prefer a file beside the program, as
// Windows does for every library that is not a KnownDLL: none of them runs in the client,
// and every command works as before. A control beside the same files shows that each of
// them is found when a program loads it by its bare name.
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

// What the client's commands load that Windows looks for beside the program (no KnownDLLs),
// found by running each under a debugger, and comctl32, which the manifest binds to the
// side-by-side store. Not version.dll: Wine's own user32 imports it, so Wine loads it before
// any code of a program runs (the control does not start beside it; Windows' user32 does not
// import it). Nor msimg32, iphlpapi and dnsapi: Wine's own DLLs delay-load them, and
// Wine's loader looks for those beside the program whatever search rule the process has set
// (Windows applies the rule to every load of the process), so Wine's DLLs break on them.
const std::vector<std::wstring> Planted = {L"wininet",  L"oleacc",   L"uxtheme",     L"mpr",
                                           L"compstui", L"comctl32", L"winspool.drv"};

// Wine reads the DLL overrides of each program from the registry (a WINEDLLOVERRIDES set in
// a running program does not reach the programs it starts): "native,builtin" for the
// planted names, as Windows searches beside the program first.
const wchar_t* const Programs[] = {L"Varnholt.exe", L"LoadByName.exe"};
std::wstring OverridesKey(const std::wstring& program) {
    return L"Software\\Wine\\AppDefaults\\" + program;
}

class PlantedFolder {
  public:
    PlantedFolder() {
        for (const wchar_t* program : Programs) {
            CopyFileW((TestBinFolder() + L"\\" + program).c_str(), Path(program).c_str(), FALSE);
            for (const std::wstring& name : Planted) {
                for (const View view : {View::Bits64, View::Bits32})
                    SetRawValue(HKEY_CURRENT_USER, OverridesKey(program) + L"\\DllOverrides", name,
                                REG_SZ, StringBytes("native,builtin"), view);
            }
        }
        for (const std::wstring& name : Planted)
            CopyFileW((TestBinFolder() + L"\\PlantedLibrary.dll").c_str(), Path(File(name)).c_str(),
                      FALSE);
    }
    ~PlantedFolder() {
        for (const wchar_t* program : Programs)
            DeleteKeyTreeBothViews(HKEY_CURRENT_USER, OverridesKey(program));
    }

    static std::wstring File(const std::wstring& name) {
        return name.find(L'.') == std::wstring::npos ? name + L".dll" : name;
    }
    std::wstring Path(const std::wstring& file) const { return folder_.Path() + file; }
    // The planted libraries that have run in that program.
    std::wstring RanIn(const std::wstring& program) const {
        std::wstring ran;
        for (const std::wstring& name : Planted) {
            if (FileAttributes(Path(File(name) + L"." + program + L".ran")) !=
                INVALID_FILE_ATTRIBUTES)
                ran += name + L" ";
        }
        return ran;
    }

  private:
    TemporaryFolder folder_;
};

// Ends the client's run (killing it after 15 s); true when it ended with that code.
bool EndsWith(ChildProcess& client, DWORD exitCode) {
    const bool ended = client.WaitForExit(15000);
    client.Kill();
    return ended && client.ExitCode() == exitCode;
}

// The About window, its update check, and a screen reader's question to its link.
bool AboutWindowAnswers(ChildProcess& client) {
    HWND window = nullptr;
    WaitUntil([&] { return (window = FindAboutWindow(client.Id())) || client.WaitForExit(0); },
              20000);
    SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, nullptr);
    const HWND link = FindWindowExW(window, nullptr, L"VarnholtLinkBox", nullptr);
    DWORD_PTR answer = 0;
    SendMessageTimeoutW(link, WM_GETOBJECT, 0, static_cast<LPARAM>(OBJID_CLIENT), SMTO_NORMAL,
                        10000, &answer);
    PostMessageW(window, WM_CLOSE, 0, 0);
    return window && IsWindowVisible(link) && answer != 0 && EndsWith(client, 0);
}

// The client's message box, whose text holds what it must; answered with OK.
bool BoxSays(ChildProcess& client, const std::wstring& text, DWORD exitCode) {
    const MessageBoxView box = WaitForMessageBox(client.Id(), MessageBoxCaption(), 15000);
    AnswerMessageBox(box.window, IDOK);
    return box.text.find(text) != std::wstring::npos && EndsWith(client, exitCode);
}

TEST(PlantedLibraries, NoneRunsInTheClientAndEveryCommandWorksAsBefore) {
    ASSERT_TRUE(WaitForTestSite(15000)) << "no test site on 127.0.0.1:18080";
    ASSERT_TRUE(ResetTestSite());
    SetVersionFile("Varnholt", "Version=" + ToUtf8(NextVersion()) + ";");
    const PlantedFolder planted;
    std::wstring names;
    for (const std::wstring& name : Planted)
        names += name + L" ";
    // the control: it starts beside them (Wine loads none of them at start), and a library
    // loaded by its bare name is the planted one
    ASSERT_EQ(RunProgram(planted.Path(L"LoadByName.exe"), L"", 20000), 0u);
    ASSERT_EQ(planted.RanIn(L"LoadByName.exe"), L"");
    ASSERT_EQ(RunProgram(planted.Path(L"LoadByName.exe"), names, 20000), 0u);
    ASSERT_EQ(planted.RanIn(L"LoadByName.exe"), names) << "the planted files are not found";

    const std::wstring favorite = L"Word=mk:@MSITStore:" + planted.Path(L"Dict.chm::/a.htm");
    const std::wstring missing = planted.Path(L"Missing-7.chm");
    const struct {
        const wchar_t* arguments;
        std::wstring argument;
        std::function<bool(ChildProcess&)> works;
    } commands[] = {
        {L"", L"", AboutWindowAnswers},
        {L"/foo", L"", [](ChildProcess& c) { return BoxSays(c, L"parameter.\r\n/foo", 0); }},
        {L"/titlePlanted new", L"",
         [](ChildProcess& c) {
             return EndsWith(c, 0) && FindWindowW(L"HH Parent", L"Planted new");
         }},
        {L"/bmadd", favorite,
         [&](ChildProcess& c) {
             return EndsWith(c, 0) &&
                    ReadFileBytes(planted.Path(L"ext_BM.js")).value_or("").find("\"Word=a.htm") !=
                        std::string::npos;
         }},
        {L"/run", missing, [&](ChildProcess& c) { return BoxSays(c, missing, 1); }},
    };
    for (const auto& command : commands) {
        // a viewer in front, for /title and /run
        TestWindowProcess viewer = StartTestWindow(L"HH Parent", L"Planted old", true);
        ChildProcess client = ChildProcess::Start(planted.Path(L"Varnholt.exe"),
                                                  command.arguments + command.argument);
        EXPECT_TRUE(command.works(client)) << "not as before: " << command.arguments;
        EXPECT_EQ(planted.RanIn(L"Varnholt.exe"), L"") << "after " << command.arguments;
    }
}

} // namespace
