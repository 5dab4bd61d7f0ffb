// The setup that the release build makes, run silently as a reader's administrator would
// run it: the files and registry values it leaves, the program started by its bare name,
// the entry in the list of installed programs, an install over an installed copy (also one
// in use), and the silent uninstall with what it leaves behind. Registry values are read in
// the views the program itself uses (App Paths and HHRestrictions in the 64-bit view under
// WOW64).
#include "platform/UniqueHandle.h"
#include "tests/support/BuildVersion.h"
#include "tests/support/Process.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestRegistry.h"
#include "tests/support/TestSite.h"
#include "tests/support/VersionInfo.h"
#include "tests/support/ViewerLog.h"
#include "tests/support/WindowText.h"
#include "viewer/ProcessQuery.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <list>

#include <shlobj.h>

namespace {

const std::wstring UninstallRoot = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
const std::wstring UninstallKey = UninstallRoot + L"\\Varnholt";
const std::wstring OtherFolder = L"C:\\Dictionary Tools\\Quillbay";

std::wstring SetupPath() {
    return DistFolder() + L"\\Varnholt_Setup.exe";
}

std::wstring Release(const wchar_t* field) {
    return VersionString(ReleaseVarnholtPath(), field);
}

// C:\Program Files (x86)\<CompanyName>\Quillbay
std::wstring DefaultFolder() {
    wchar_t programFiles[MAX_PATH] = {};
    SHGetFolderPathW(nullptr, CSIDL_PROGRAM_FILESX86, nullptr, SHGFP_TYPE_CURRENT, programFiles);
    return std::wstring(programFiles) + L"\\" + Release(L"CompanyName") + L"\\Quillbay";
}

std::optional<std::wstring> EntryText(const wchar_t* name) {
    return ReadTextValue(HKEY_LOCAL_MACHINE, UninstallKey, name, View::Bits32);
}

DWORD FileSize(const std::wstring& path) {
    return static_cast<DWORD>(ReadFileBytes(path).value_or("").size()); // 0 for no file
}

// How many entries the list of installed programs holds, in both views.
DWORD InstalledPrograms() {
    DWORD total = 0;
    for (REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
        UniqueKey root;
        DWORD count = 0;
        if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, UninstallRoot.c_str(), 0, KEY_READ | view,
                          root.put()) == ERROR_SUCCESS &&
            RegQueryInfoKeyW(root.get(), nullptr, nullptr, nullptr, &count, nullptr, nullptr,
                             nullptr, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS)
            total += count;
    }
    return total;
}

// The install folder, and its parent when that is left empty.
void RemoveFolder(const std::wstring& folder) {
    RemoveFolderTree(folder + L"\\");
    RemoveDirectoryW(folder.substr(0, folder.rfind(L'\\')).c_str());
}

class Setup : public ::testing::Test {
  protected:
    // No installed copy before or after a test; the program's start-up values are written
    // again by the next run of the test build.
    void SetUp() override {
        ASSERT_TRUE(FileAttributes(SetupPath()) != INVALID_FILE_ATTRIBUTES)
            << "no setup in the dist folder";
        Clean();
    }
    void TearDown() override { Clean(); }
    void Clean() {
        RemoveFolder(DefaultFolder());
        RemoveFolder(OtherFolder);
        DeleteKeyTreeBothViews(HKEY_LOCAL_MACHINE, UninstallKey);
        DeleteKeyTreeBothViews(HKEY_LOCAL_MACHINE, AppPathsKey);
        DeleteValue(HKEY_LOCAL_MACHINE, RestrictionsKey, FrameNavigation, View::Bits64);
        DeleteKeyTreeBothViews(HKEY_LOCAL_MACHINE, HelpFileKey(ReleaseVarnholtPath(), L"Kept"));
    }
    static DWORD Install(const std::wstring& arguments = L"/S") {
        return RunProgram(SetupPath(), arguments, 120000);
    }
    // The uninstaller runs on from a copy of itself; its end shows in what it removes.
    static bool UninstallSilently(const std::wstring& folder) {
        return RunProgram(folder + L"\\Uninstall.exe", L"/S", 60000) == 0 &&
               WaitUntil(
                   [&] {
                       return !KeyExists(HKEY_LOCAL_MACHINE, UninstallKey, View::Bits32) &&
                              FileAttributes(folder + L"\\Uninstall.exe") ==
                                  INVALID_FILE_ATTRIBUTES;
                   },
                   60000);
    }
};

TEST_F(Setup, WindowsXPIsRefusedAndGetsNothing) {
    if (!RunningUnderWine())
        GTEST_SKIP() << "the Windows version is Wine's to choose";
    const DWORD before = InstalledPrograms();
    {
        // Wine tells the programs it starts that they run on the Windows it names.
        const ScopedRegistryValue xp(HKEY_CURRENT_USER, L"Software\\Wine", L"Version", REG_SZ,
                                     StringBytes("winxp"));
        EXPECT_EQ(Install(), 1u) << "a silent install on Windows XP";
    }
    EXPECT_EQ(FileAttributes(DefaultFolder()), INVALID_FILE_ATTRIBUTES);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, UninstallKey, View::Bits32));
    EXPECT_EQ(InstalledPrograms(), before);
    // The same setup installs on the Windows that Wine gives otherwise.
    EXPECT_EQ(Install(), 0u);
}

// The program, its start-up values, and its entry in the list of installed programs, which
// names its version, publisher, place and size. Started by its bare name, the shell finds
// the installed program through App Paths; its first run finds its start-up values as it
// would write them and writes nothing there.
TEST_F(Setup, SilentInstallPutsTheProgramItsStartUpValuesAndItsEntryInPlace) {
    ASSERT_EQ(Install(), 0u);
    const std::wstring folder = DefaultFolder();
    EXPECT_EQ(FolderEntries(folder + L"\\"),
              (std::vector<std::wstring>{L"Uninstall.exe", L"Varnholt.exe"}));
    EXPECT_EQ(ReadFileBytes(folder + L"\\Varnholt.exe"), ReadFileBytes(ReleaseVarnholtPath()));

    EXPECT_EQ(ReadTextValue(HKEY_LOCAL_MACHINE, AppPathsKey, L"", View::Bits64),
              folder + L"\\Varnholt.exe");
    EXPECT_EQ(ReadTextValue(HKEY_LOCAL_MACHINE, AppPathsKey, L"Path", View::Bits64), folder);
    EXPECT_EQ(ReadRawValue(HKEY_LOCAL_MACHINE, RestrictionsKey, FrameNavigation, View::Bits64),
              DwordOne);
    EXPECT_EQ(EntryText(L"DisplayName"), L"Quillbay Client");
    EXPECT_EQ(EntryText(L"DisplayVersion"), Release(L"FileVersion"));
    EXPECT_EQ(EntryText(L"Publisher"), Release(L"CompanyName"));
    EXPECT_EQ(EntryText(L"InstallLocation"), folder);
    EXPECT_EQ(EntryText(L"UninstallString"), L"\"" + folder + L"\\Uninstall.exe\"");
    EXPECT_EQ(EntryText(L"QuietUninstallString"), L"\"" + folder + L"\\Uninstall.exe\" /S");
    const auto size =
        ReadRawValue(HKEY_LOCAL_MACHINE, UninstallKey, L"EstimatedSize", View::Bits32);
    ASSERT_TRUE(size && size->type == REG_DWORD && size->bytes.size() == 4);
    DWORD kilobytes = 0;
    memcpy(&kilobytes, size->bytes.data(), 4);
    const DWORD files =
        FileSize(folder + L"\\Varnholt.exe") + FileSize(folder + L"\\Uninstall.exe");
    EXPECT_NEAR(kilobytes, files / 1024.0, 1.0);

    const auto appPaths = KeyLastWriteTime(HKEY_LOCAL_MACHINE, AppPathsKey, View::Bits64);
    const auto restrictions = KeyLastWriteTime(HKEY_LOCAL_MACHINE, RestrictionsKey, View::Bits64);
    ASSERT_NE(appPaths, 0u);

    // From a folder without a Varnholt.exe, through the shell, as a page's shortcut starts it.
    const TemporaryFolder elsewhere;
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    EXPECT_EQ(RunProgram(std::wstring(system) + L"\\cmd.exe",
                         L"/c start \"\" /wait Varnholt.exe /regKept=C:\\Books\\=2.5", 60000,
                         elsewhere.Path()),
              0u);
    const std::wstring kept = HelpFileKey(ReleaseVarnholtPath(), L"Kept");
    EXPECT_TRUE(WaitUntil(
        [&] { return ReadTextValue(HKEY_LOCAL_MACHINE, kept, L"", View::Bits64).has_value(); },
        20000))
        << "the program did not run";
    EXPECT_EQ(ReadTextValue(HKEY_LOCAL_MACHINE, AppPathsKey, L"", View::Bits64),
              folder + L"\\Varnholt.exe")
        << "another Varnholt.exe ran";
    EXPECT_EQ(KeyLastWriteTime(HKEY_LOCAL_MACHINE, AppPathsKey, View::Bits64), appPaths);
    EXPECT_EQ(KeyLastWriteTime(HKEY_LOCAL_MACHINE, RestrictionsKey, View::Bits64), restrictions);
}

// An installed copy, older or of this version, is replaced where it is; the list of
// installed programs keeps one entry.
TEST_F(Setup, InstallingOverAnInstalledCopyReplacesItInItsFolderWithOneEntry) {
    ASSERT_EQ(Install(L"/S /D=" + OtherFolder), 0u);
    ASSERT_TRUE(SetRawValue(HKEY_LOCAL_MACHINE, UninstallKey, L"DisplayVersion", REG_SZ,
                            StringBytes("2.100"), View::Bits32));
    ASSERT_TRUE(WriteFileBytes(OtherFolder + L"\\Varnholt.exe", "an older program"));
    const DWORD entries = InstalledPrograms();

    for (int run = 0; run < 2; ++run) { // over the older version, then over the same one
        ASSERT_EQ(Install(), 0u);
        EXPECT_EQ(ReadFileBytes(OtherFolder + L"\\Varnholt.exe"),
                  ReadFileBytes(ReleaseVarnholtPath()));
        EXPECT_EQ(FileAttributes(DefaultFolder()), INVALID_FILE_ATTRIBUTES);
        EXPECT_EQ(EntryText(L"DisplayVersion"), Release(L"FileVersion"));
        EXPECT_EQ(EntryText(L"InstallLocation"), OtherFolder);
        EXPECT_EQ(InstalledPrograms(), entries);
    }
}

// The uninstaller takes the program, its App Paths entry and its own entry; the reader's
// records under the product key, every ext_BM.js and the viewer's setting stay.
TEST_F(Setup, SilentUninstallLeavesTheReadersDataBehind) {
    ASSERT_EQ(Install(), 0u);
    const std::wstring folder = DefaultFolder();
    ASSERT_EQ(RunProgram(folder + L"\\Varnholt.exe", L"/regKept=C:\\Books\\=2.5", 20000), 0u);
    const std::string favorites = ";var ext_BM=\"\"\r\n+\"[Sample]\x01\"\r\n";
    const TemporaryFolder books;
    ASSERT_TRUE(WriteFileBytes(books.Path() + L"ext_BM.js", favorites));
    ASSERT_TRUE(WriteFileBytes(folder + L"\\ext_BM.js", favorites));

    EXPECT_TRUE(UninstallSilently(folder));
    EXPECT_EQ(FolderEntries(folder + L"\\"), std::vector<std::wstring>{L"ext_BM.js"});
    EXPECT_EQ(ReadFileBytes(folder + L"\\ext_BM.js"), favorites);
    EXPECT_EQ(ReadFileBytes(books.Path() + L"ext_BM.js"), favorites);
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, AppPathsKey, View::Bits64));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, AppPathsKey, View::Bits32));
    EXPECT_EQ(ReadTextValue(HKEY_LOCAL_MACHINE, HelpFileKey(ReleaseVarnholtPath(), L"Kept"),
                            L"CurrentVersion", View::Bits64),
              L"2.5");
    EXPECT_TRUE(ReadRawValue(HKEY_LOCAL_MACHINE, RestrictionsKey, FrameNavigation, View::Bits64));
}

// A setup is run from Downloads, where a web page can leave a library unasked. A marker
// lies there under the name of each library the setup and the uninstaller load, which Wine
// is told to prefer, as Windows would: no marker runs, and both do their work. Left out are
// the libraries that Wine's own load as every program starts (version, shcore, uxtheme).
TEST_F(Setup, NoLibraryBesideTheSetupOrTheUninstallerRuns) {
    const wchar_t* const libraries[] = {
        L"comctl32", L"userenv", L"setupapi", L"apphelp",  L"propsys",  L"dwmapi",  L"cryptbase",
        L"oleacc",   L"clbcatq", L"ntmarta",  L"shfolder", L"actxprxy", L"oleaut32"};
    const TemporaryFolder downloads; // the setup installs there too, beside the markers
    const std::wstring setup = downloads.Path() + L"Varnholt_Setup.exe";
    ASSERT_TRUE(CopyFileW(SetupPath().c_str(), setup.c_str(), FALSE));
    std::list<ScopedRegistryValue> preferred;
    for (const wchar_t* name : libraries) {
        preferred.emplace_back(HKEY_CURRENT_USER, L"Software\\Wine\\DllOverrides", name, REG_SZ,
                               StringBytes("native,builtin"));
        CopyFileW((TestBinFolder() + L"\\PlantedLibrary.dll").c_str(),
                  (downloads.Path() + name + L".dll").c_str(), FALSE);
    }
    const auto planted = FolderEntries(downloads.Path());
    const std::wstring folder = downloads.Path().substr(0, downloads.Path().size() - 1);
    EXPECT_EQ(RunProgram(setup, L"/S /D=" + folder, 120000), 0u);
    EXPECT_EQ(ReadFileBytes(folder + L"\\Varnholt.exe"), ReadFileBytes(ReleaseVarnholtPath()));
    EXPECT_TRUE(UninstallSilently(folder));
    EXPECT_EQ(FolderEntries(downloads.Path()), planted) << "a library ran";
}

// Windows refuses to write the file of a running program, which Wine allows: HoldFile
// stands in, holding the installed program open (sharing reading and renaming) while a
// process lives. Held for an open About window, the setup of the next version and the
// uninstaller close it and do their work, with nothing put aside. Held for another process
// (this test program), the setup renames the old program aside; held without renaming
// shared, it fails and leaves the old program. The uninstaller's code is the one of its own
// run (_?=).
TEST_F(Setup, TheSetupAndUninstallerGetPastAProgramInUseOrSaySoInTheirExitCode) {
    const std::wstring folder = DefaultFolder(), program = folder + L"\\Varnholt.exe";
    const std::wstring nextSetup = DistFolder() + L"\\..\\setup-next\\Varnholt_Setup_next.exe";
    const auto release = ReadFileBytes(ReleaseVarnholtPath()), next = ReadFileBytes(VarnholtPath());
    ASSERT_NE(release, next) << "the next setup's program must differ from the installed one";
    const auto atPath = [&]() -> std::string {
        if (FileAttributes(program) == INVALID_FILE_ATTRIBUTES)
            return "nothing";
        const auto bytes = ReadFileBytes(program);
        return bytes == next ? "the update" : bytes == release ? "the release" : "other bytes";
    };
    const struct {
        const char* name;
        bool aboutHolds, uninstall;
        const wchar_t* sharing;
        DWORD exitCode;
        const char* atPath;
        bool putAside;
    } cases[] = {
        {"About window, setup", true, false, L"", 0, "the update", false},
        {"About window, uninstall", true, true, L"", 0, "nothing", false},
        {"another program, setup", false, false, L"", 0, "the update", true},
        {"another program without renaming, setup", false, false, L"--deny-delete", 2,
         "the release", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Clean(); // what the case before left
        ASSERT_EQ(Install(), 0u);
        ScopedProcess about, holder;
        DWORD holdFor = GetCurrentProcessId();
        if (c.aboutHolds) {
            about = ChildProcess::Start(program, L"/ver 1");
            ASSERT_TRUE(WaitUntil([&] { return FindAboutWindow(about.Id()) != nullptr; }, 20000))
                << "no About window";
            holdFor = about.Id();
        }
        holder =
            ChildProcess::Start(TestBinFolder() + L"\\HoldFile.exe",
                                std::to_wstring(holdFor) + L" \"" + program + L"\" " + c.sharing);
        ASSERT_TRUE(WaitUntil(
            [&] {
                return !UniqueFile(
                    CreateFileW(program.c_str(), GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, 0, nullptr));
            },
            10000))
            << "the program's file is not held";

        EXPECT_EQ(c.uninstall ? RunProgram(folder + L"\\Uninstall.exe", L"/S _?=" + folder, 60000)
                              : RunProgram(nextSetup, L"/S", 120000),
                  c.exitCode);
        EXPECT_EQ(atPath(), c.atPath);
        std::vector<std::wstring> besides; // the program's other names in its folder
        for (const auto& name : FolderEntries(folder + L"\\"))
            if (name != L"Varnholt.exe" && name != L"Uninstall.exe")
                besides.push_back(name.ends_with(L".old") ? L"a copy put aside" : name);
        EXPECT_EQ(besides, std::vector<std::wstring>(c.putAside, L"a copy put aside"));
        if (c.aboutHolds) {
            EXPECT_TRUE(about.WaitForExit(10000)) << "the About window is still open";
        }
    }
}

// The site's version file names the version of the program in the setup, and the setup's
// size; the setup carries the same version.
TEST(VersionFile, NamesTheProgramsVersionAndTheSetupsSize) {
    const std::wstring version = Release(L"FileVersion");
    ASSERT_FALSE(version.empty());
    EXPECT_EQ(VersionString(SetupPath(), L"ProductVersion"), version);
    EXPECT_EQ(ReadFileBytes(DistFolder() + L"\\Varnholt.js"),
              "Version=" + std::string(version.begin(), version.end()) +
                  ";Size=" + std::to_string(FileSize(SetupPath())) + ";");
}

// The part of the picture that is not the desktop's colour (its top-left pixel), with
// how many pixels of the link's blue and of the active title bar it holds.
struct WindowInPicture {
    RECT bounds{};
    int linkPixels = 0;
    int titlePixels = 0;
};

WindowInPicture FindWindowIn(const ScreenPixels& picture) {
    WindowInPicture found{{picture.width, picture.height, 0, 0}};
    const std::uint32_t desktop = picture.At(0, 0);
    const COLORREF title = GetSysColor(COLOR_ACTIVECAPTION);
    const std::uint32_t titleRgb =
        (GetRValue(title) << 16) | (GetGValue(title) << 8) | GetBValue(title);
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t p = picture.At(x, y);
            found.linkPixels += p == 0x0000FF;
            found.titlePixels += p == titleRgb;
            if (p == desktop)
                continue;
            found.bounds.left = std::min<LONG>(found.bounds.left, x);
            found.bounds.top = std::min<LONG>(found.bounds.top, y);
            found.bounds.right = std::max<LONG>(found.bounds.right, x + 1);
            found.bounds.bottom = std::max<LONG>(found.bounds.bottom, y + 1);
        }
    }
    return found;
}

// The README's picture: the program as the setup installed it, asked by a maker's site
// (the release asks its own address, www.example.com unless the maker gave another,
// answered here through the test site as WinINet's proxy), in a window with its frame and
// title bar, which Wine draws for the windows of a virtual desktop. That desktop is an X
// window of its own, at the screen's top-left corner; its windows are read by their
// pixels (window lookups see only their own desktop).
TEST_F(Setup, TheInstalledProgramsAboutWindowForTheReadme) {
    if (!RunningUnderWine())
        GTEST_SKIP() << "the picture is taken under Wine";
    ASSERT_TRUE(WaitForTestSite(15000));
    ASSERT_TRUE(ResetTestSite());
    ASSERT_EQ(Install(), 0u);
    const std::wstring settings =
        L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
    const ScopedRegistryValue proxyOn(HKEY_CURRENT_USER, settings, L"ProxyEnable", REG_DWORD,
                                      {1, 0, 0, 0});
    const ScopedRegistryValue proxy(HKEY_CURRENT_USER, settings, L"ProxyServer", REG_SZ,
                                    StringBytes("127.0.0.1:18080"));
    SetVersionFile("Varnholt", "Version=" + ToUtf8(NextVersion()) +
                                   ";Size=" + std::to_string(FileSize(SetupPath())) + ";");
    const std::wstring program = DefaultFolder() + L"\\Varnholt.exe";
    constexpr RECT VirtualDesktop{0, 0, 480, 280};
    const ScopedProcess desktop = ChildProcess::Start(
        L"C:\\windows\\explorer.exe", L"/desktop=VarnholtReadme,480x280 \"" + program + L"\"");
    ScopedProcess client; // neither it nor its desktop outlives the test
    ASSERT_TRUE(WaitUntil(
        [&] { return (client = ChildProcess::StartedBy(desktop.Id(), L"Varnholt.exe")).Handle(); },
        15000))
        << "the installed program did not start";
    EXPECT_EQ(ProcessImagePath(client.Id()), program);
    // Shown with the link (blue) under a title bar, and painted: the same twice running.
    ScreenPixels picture;
    WindowInPicture window;
    const bool shown = WaitUntil(
        [&] {
            const ScreenPixels before = CaptureScreen(VirtualDesktop);
            Sleep(300);
            picture = CaptureScreen(VirtualDesktop);
            window = FindWindowIn(picture);
            return window.linkPixels > 20 && window.titlePixels > 100 &&
                   picture.pixels == before.pixels;
        },
        30000);
    const std::vector<std::string> asked = TestSiteRequests();
    EXPECT_NE(std::find(asked.begin(), asked.end(), "/Rurivur/Varnholt.js"), asked.end())
        << "the site was not asked";
    EXPECT_TRUE(SavePng(picture, ScreenshotFolder() + L"\\about-installed-desktop.png"));
    ASSERT_TRUE(shown) << "no window with a title bar and a link: " << window.linkPixels
                       << " link pixels, " << window.titlePixels << " title bar pixels";
    RECT frame = window.bounds;
    EXPECT_TRUE(SavePng(CaptureScreen(frame), ScreenshotFolder() + L"\\about-installed.png"));
}

} // namespace
