// The measuring side of the benchmark (scripts/bench.sh runs it under Wine and Xvfb, with
// the test bed's local site). It starts Varnholt.exe beside it the way a page of the
// dictionary does, pairs every run with a run of the floor program, of the command's own
// floor (bench/CommandFloor.cpp: the system calls it must make) and of an empty program
// started the same way, and writes what it measured, one run a row, as
// tab-separated values that bench/report.py turns into the table and the plot.
//
//   BenchDriver.exe <rows.tsv> [--runs N] [--only section,...]
//
// Sections: startup (wall time of each command), find (/find giving up: processor time),
// favorites (the rewrite in this process, against a copy of the same file), loads (the
// DLLs and the peak working set of each command run), about (the About window).
#include "favorites/Favorites.h"
#include "tests/support/BuildVersion.h"
#include "tests/support/DebugRun.h"
#include "tests/support/MessageBoxDriver.h"
#include "tests/support/Process.h"
#include "tests/support/StandIn.h"
#include "tests/support/TestFiles.h"
#include "tests/support/TestRegistry.h"
#include "tests/support/TestSite.h"
#include "tests/support/ViewerLog.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace {

const std::wstring Caption = MessageBoxCaption();
const std::wstring ViewerPlace = L"--pos 40 60 560 420";

UniqueFile rows;

void WriteRow(const std::vector<std::wstring>& fields) {
    std::wstring line;
    for (const auto& field : fields)
        line += (line.empty() ? L"" : L"\t") + field;
    line += L"\n";
    const int size = WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()),
                                         nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, line.c_str(), static_cast<int>(line.size()), bytes.data(), size,
                        nullptr, nullptr);
    DWORD written = 0;
    WriteFile(rows.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
}

std::wstring Number(double value) {
    wchar_t text[32];
    std::swprintf(text, 32, L"%.3f", value);
    return text;
}

double NowMs() {
    LARGE_INTEGER frequency, counter;
    QueryPerformanceFrequency(&frequency);
    QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::wstring Tool(const wchar_t* name) {
    return TestBinFolder() + L"\\" + name + L".exe";
}

// What a timed start waits for: the end of the process, or a sign that it has got as far
// as it should (a window shown); then finish lets it end.
struct Until {
    std::function<bool(const ChildProcess&)> reached;
    std::function<void(const ChildProcess&)> finish;
};

struct TimedRun {
    double wallMs = 0;
    double processorMs = 0;
};

// One start as a page makes it: the wall time from the start to the end of the process
// (or to until.reached).
TimedRun Time(const std::wstring& program, const std::wstring& arguments, const Until& until = {}) {
    TimedRun run;
    const double start = NowMs();
    ChildProcess child = ChildProcess::Start(program, arguments);
    if (until.reached) {
        while (!until.reached(child) && child.ExitCode() == STILL_ACTIVE && NowMs() - start < 30000)
            Sleep(1);
        run.wallMs = NowMs() - start;
        until.finish(child);
        if (!child.WaitForExit(30000))
            child.Kill();
    } else {
        if (!child.WaitForExit(30000))
            child.Kill();
        run.wallMs = NowMs() - start;
    }
    run.processorMs = ProcessorTimeMs(child);
    return run;
}

HWND VisibleWindowOf(const ChildProcess& child, const wchar_t* className) {
    for (HWND window = FindWindowW(className, nullptr); window;
         window = FindWindowExW(nullptr, window, className, nullptr)) {
        DWORD processId = 0;
        GetWindowThreadProcessId(window, &processId);
        if (processId == child.Id() && IsWindowVisible(window))
            return window;
    }
    return nullptr;
}

Until WindowShown(const wchar_t* className) {
    return {[=](const ChildProcess& child) { return VisibleWindowOf(child, className) != nullptr; },
            [=](const ChildProcess& child) {
                PostMessageW(VisibleWindowOf(child, className), WM_CLOSE, 0, 0);
            }};
}

const Until MessageBoxShown = {
    [](const ChildProcess& child) { return !FindMessageBoxes(child.Id(), Caption).empty(); },
    [](const ChildProcess& child) {
        for (HWND box : FindMessageBoxes(child.Id(), Caption))
            AnswerMessageBox(box, IDOK);
    }};

// The viewer the commands act on: the stand-in, in front and under the cursor, as when
// the reader has just clicked in its page.
class Scene {
  public:
    Scene() { Replace(); }
    // A new viewer, for the commands that close the one they act on.
    void Replace() {
        if (viewer_)
            viewer_->Process().WaitForExit(5000);
        viewer_.reset();
        viewer_.emplace(ViewerPlace);
        Ready();
    }
    // In front, under the cursor and idle; a new one when a command closed the last (a
    // mark posted behind the close never comes back).
    void Ready() {
        if (!viewer_->Settle())
            return Replace();
        viewer_->BringToFront();
        PutCursorOver(viewer_->Window(L"html"));
        viewer_->Settle();
    }

  private:
    std::optional<StandIn> viewer_;
};

struct Command {
    std::wstring arguments;
    std::function<void()> prepare; // before each run of the client, not timed
    Until until;
    std::wstring floorArguments; // what the command's own floor adds (CommandFloor.exe)
};

// A Favorites file of count entries in one section, and the location of its help file.
struct FavoritesFolder {
    TemporaryFolder folder;
    std::string bytes;
    explicit FavoritesFolder(int count) {
        bytes = ";var ext_BM=\"\"\r\n+\"[Bench]\x01\"\r\n";
        for (int i = 0; i < count; ++i)
            bytes += "+\"Entry " + std::to_string(i) + "=html/page" + std::to_string(i) +
                     ".htm\x01\"\r\n";
    }
    std::wstring File() const { return folder.Path() + L"ext_BM.js"; }
    std::wstring Location(const std::wstring& topic) const {
        return L"mk:@MSITStore:" + folder.Path() + L"Bench.chm::/" + topic;
    }
    void Restore() const { WriteFileBytes(File(), bytes); }
};

std::vector<std::pair<std::wstring, Command>> Commands(Scene& scene, const FavoritesFolder& file,
                                                       const std::wstring& helpFile) {
    const auto ready = [&] { scene.Ready(); };
    const auto replaced = [&] { scene.Replace(); };
    const auto restored = [&] { file.Restore(); };
    return {
        {L"/pane 1", {L"/pane 1", ready, {}, L""}},
        {L"/stop", {L"/stop", ready, {}, L"pointer"}},
        {L"/exit", {L"/exit", replaced, {}, L"pointer"}},
        {L"/jump", {L"/jump", ready, {}, L"pointer"}},
        {L"/copy", {L"/copy", ready, {}, L""}},
        {L"/keyb 1049", {L"/keyb 1049", ready, {}, L"keyboard 00000419"}},
        {L"/title New", {L"/title New", ready, {}, L"wmi"}},
        {L"/reg", {L"/reg Bench=C:\\Bench\\=2.5", ready, {}, L""}},
        {L"/run", {L"/run " + helpFile, replaced, {}, L"shell " + helpFile}},
        {L"/move",
         {L"/move Bench",
          [&] {
              scene.Ready();
              RunVarnholt(L"/run " + helpFile); // remembers a place for /move
              scene.Replace();
          },
          {},
          L""}},
        // the entry in the middle of the section, replaced and removed
        {L"/bmadd",
         {L"/bmaddEntry 50=" + file.Location(L"html/new.htm"),
          restored,
          {},
          L"file " + file.File()}},
        {L"/bmdel",
         {L"/bmdelEntry 50=" + file.Location(L""), restored, {}, L"file " + file.File()}},
        {L"unknown switch", {L"/foo", ready, MessageBoxShown, L"box " + Caption}},
    };
}

bool Wanted(const std::wstring& only, const std::wstring& section) {
    return only.empty() || (L"," + only + L",").find(L"," + section + L",") != std::wstring::npos;
}

// Each command's wall time, run by run beside the floor program, its own floor and the
// empty program; the order of the four turns from run to run. Then one run as the client's
// debugger: the DLLs it maps and its peak working set.
void MeasureCommands(int runs, bool times, bool loads) {
    Scene scene;
    FavoritesFolder file(100);
    const std::wstring helpFile = file.folder.Path() + L"Bench.chm";
    WriteFileBytes(helpFile, "");
    const TestFileAssociation association(L".chm", L"\"" + Tool(L"EmptyProgram") + L"\" \"%1\"");
    for (auto& [name, command] : Commands(scene, file, helpFile)) {
        for (int run = 0; times && run < runs; ++run) {
            TimedRun client, floor, empty, own;
            for (int turn = 0; turn < 4; ++turn) {
                switch ((run + turn) % 4) {
                case 0:
                    command.prepare();
                    client = Time(VarnholtPath(), command.arguments, command.until);
                    break;
                case 1:
                    floor = Time(Tool(L"FloorProgram"), L"");
                    break;
                case 2:
                    empty = Time(Tool(L"EmptyProgram"), L"");
                    break;
                case 3:
                    command.prepare(); // the same scene: the viewer under the pointer
                    own = Time(Tool(L"CommandFloor"), command.floorArguments, command.until);
                    break;
                }
            }
            WriteRow({L"startup", name, std::to_wstring(run), Number(client.wallMs),
                      Number(floor.wallMs), Number(empty.wallMs), Number(own.wallMs)});
        }
        if (!loads)
            continue;
        command.prepare();
        const DebugRun seen = RunUnderDebugger(VarnholtPath(), command.arguments, [](DWORD id) {
            for (HWND box : FindMessageBoxes(id, Caption))
                AnswerMessageBox(box, IDOK);
        });
        std::wstring later;
        for (const auto& dll : seen.dllsLater)
            later += (later.empty() ? L"" : L" ") + dll;
        WriteRow({L"loads", name, std::to_wstring(seen.peakWorkingSet), later});
    }
    if (!loads)
        return;
    for (const wchar_t* tool : {L"FloorProgram", L"EmptyProgram"}) {
        const DebugRun seen = RunUnderDebugger(Tool(tool), L"");
        WriteRow({L"loads", tool, std::to_wstring(seen.peakWorkingSet), L""});
    }
    for (const auto& program : {VarnholtPath(), Tool(L"FloorProgram")}) {
        const DebugRun seen = RunUnderDebugger(program, L"/pane 1");
        std::wstring atLoad;
        for (const auto& dll : seen.dllsAtLoad)
            atLoad += (atLoad.empty() ? L"" : L" ") + dll;
        WriteRow({L"atload", program.substr(program.rfind(L'\\') + 1), atLoad});
    }
}

// /find with no search dialog to find: it gives up after about two seconds, waiting
// asleep in between.
void MeasureFind(int runs) {
    StandIn viewer(ViewerPlace + L" --no-search");
    for (int run = 0; run < runs; ++run) {
        viewer.BringToFront();
        PutCursorOver(viewer.Window(L"html"));
        viewer.Settle();
        const TimedRun client = Time(VarnholtPath(), L"/find abc");
        const TimedRun floor = Time(Tool(L"FloorProgram"), L"");
        WriteRow({L"find", std::to_wstring(run), Number(client.wallMs), Number(client.processorMs),
                  Number(floor.wallMs), Number(floor.processorMs)});
    }
}

double CopyFileOnce(const std::wstring& from, const std::wstring& to) {
    const double start = NowMs();
    const std::optional<std::string> bytes = ReadFileBytes(from);
    WriteFileBytes(to, bytes.value_or(""));
    return NowMs() - start;
}

// The rewrite of ext_BM.js, as /bmadd runs it, in this process: one entry in the middle
// replaced, against reading and writing the same bytes once.
void MeasureFavorites(int runs) {
    for (const int count : {1000, 10000, 100000}) {
        FavoritesFolder file(count);
        file.Restore();
        const std::wstring argument =
            L"Entry " + std::to_wstring(count / 2) + L"=" + file.Location(L"html/new.htm");
        UpdateFavorites(argument, true); // the file as every later run finds it
        const int times = count >= 100000 ? (runs + 2) / 3 : runs;
        for (int run = 0; run < times; ++run) {
            const double start = NowMs();
            UpdateFavorites(argument, true);
            const double rewrite = NowMs() - start;
            const double copy = CopyFileOnce(file.File(), file.folder.Path() + L"copy.js");
            WriteRow({L"favorites", L"wine", std::to_wstring(count),
                      std::to_wstring(file.bytes.size()), std::to_wstring(run), Number(rewrite),
                      Number(copy)});
        }
    }
}

// Start to a visible About window, with a site that answers and with one that never
// does, against an empty window program started the same way.
void MeasureAbout(int runs) {
    ResetTestSite();
    SetVersionFile("Varnholt", "Version=" + ToUtf8(ShortVersion()) + ";Size=900;");
    for (const std::string mode : {"normal", "silent"}) {
        SetTestSiteMode(mode);
        const int times = mode == "silent" ? (runs + 2) / 3 : runs;
        for (int run = 0; run < times; ++run) {
            const TimedRun client = Time(VarnholtPath(), L"", WindowShown(L"VarnholtAbout"));
            const TimedRun window =
                Time(Tool(L"EmptyWindow"), L"", WindowShown(L"VarnholtBenchEmptyWindow"));
            WriteRow({L"about", std::wstring(mode.begin(), mode.end()), std::to_wstring(run),
                      Number(client.wallMs), Number(window.wallMs)});
        }
    }
    SetTestSiteMode("normal");
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        std::fwprintf(stderr, L"usage: BenchDriver.exe <rows.tsv> [--runs N] [--only a,b]\n");
        return 2;
    }
    int runs = 15;
    std::wstring only;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::wstring option = argv[i];
        if (option == L"--runs")
            runs = std::max(1, _wtoi(argv[i + 1]));
        else if (option == L"--only")
            only = argv[i + 1];
    }
    rows.reset(CreateFileW(argv[1], GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!rows)
        return 1;
    if (Wanted(only, L"startup") || Wanted(only, L"loads"))
        MeasureCommands(runs, Wanted(only, L"startup"), Wanted(only, L"loads"));
    if (Wanted(only, L"find"))
        MeasureFind(runs);
    if (Wanted(only, L"favorites"))
        MeasureFavorites(runs);
    if (Wanted(only, L"about"))
        MeasureAbout(runs);
    return 0;
}
