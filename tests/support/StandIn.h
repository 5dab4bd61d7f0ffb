// Runs the stand-in viewer (tests/tools/StandInViewer.cpp) for a test: starts it with its
// own log, waits until its windows are up, and reads what it has received. The process
// is ended when the object goes.
#pragma once
#include "tests/support/Process.h"
#include "tests/support/ViewerLog.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

// Where a test's stand-ins go: side by side, so that one can be in front while the pointer
// is over the other.
inline const std::wstring LeftPlace = L"--pos 40 60 560 420";
inline const std::wstring RightPlace = L"--pos 660 60 560 420";

class StandIn {
  public:
    // options: the stand-in's command-line options other than --log.
    explicit StandIn(const std::wstring& options = L"");
    StandIn(const StandIn&) = delete;
    StandIn& operator=(const StandIn&) = delete;
    ~StandIn();

    bool Ready() const { return ready_.has_value(); }
    // A window by its role in the ready or opened lines: "main", "host", "docview", "html",
    // "control", "edit", "extra", "search", "searchedit"; 0 when it has none.
    HWND Window(const std::wstring& role) const;
    HWND Main() const { return Window(L"main"); }
    // The keyboard layout of the stand-in's thread, as it reported it.
    std::uint32_t Layout() const { return ready_ ? ready_->Number(L"layout") : 0; }
    // The ANSI code page the stand-in runs with.
    std::uint32_t CodePage() const { return ready_ ? ready_->Number(L"codepage") : 0; }
    ChildProcess& Process() { return process_; }

    std::vector<ViewerLogEntry> Log() const { return ReadViewerLog(logPath_); }
    // The window messages received so far, in the order handled.
    std::vector<ViewerLogEntry> Messages() const;
    // Waits until an entry that satisfies match is in the log.
    std::optional<ViewerLogEntry> WaitFor(const std::function<bool(const ViewerLogEntry&)>& match,
                                          DWORD timeoutMs = 10000) const;
    // Posts a mark behind everything posted so far and waits until the stand-in has handled
    // it; returns the mark line (its "menuitem" field tells whether the window menu still
    // holds the stand-in's own item).
    std::optional<ViewerLogEntry> Settle(DWORD timeoutMs = 10000);
    // Makes the stand-in's window thread stop taking messages for good; true once it has.
    bool StopAnswering();

    // Raises the main window and makes it the foreground window; true when it is.
    bool BringToFront() const;
    // Ready and in front (as a viewer a page was clicked in is).
    bool InFront() const { return Ready() && BringToFront(); }
    // Ready, with the pointer over its window of that role (dx, dy as PutCursorOver's).
    bool UnderPointer(const std::wstring& role = L"html", int dx = -40, int dy = -40) const;

  private:
    std::wstring logPath_;
    ChildProcess process_;
    std::optional<ViewerLogEntry> ready_;
    unsigned marks_ = 0;
};

// Raises a top-level window and makes it the foreground window; true when it is, within
// a few seconds (otherwise it says on stderr which window was in front).
bool BringToFront(HWND window);

// Puts the mouse cursor at a point of window (relative to its top-left corner; negative
// values count from its right or bottom edge); true when that window is the one there,
// within a few seconds (otherwise it says on stderr which window was there).
bool PutCursorOver(HWND window, int dx = -40, int dy = -40);

// Processor time the child has used so far, in milliseconds.
double ProcessorTimeMs(const ChildProcess& child);
// Wall time from the child's start to its end (or to now), in milliseconds.
double WallTimeMs(const ChildProcess& child);
