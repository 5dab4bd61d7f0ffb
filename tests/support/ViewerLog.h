// The stand-in viewer's log: one line per event, written by the stand-in and read by the
// tests. A line is the event name (a message name such as "WM_COMMAND", or "ready",
// "opened", "mark") followed by key=value fields, separated by tabs, in UTF-8; backslash,
// tab and line breaks inside a value are escaped as \\ \t \n \r.
#pragma once
#include <windows.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using LogFields = std::vector<std::pair<std::wstring, std::wstring>>;

struct ViewerLogEntry {
    std::wstring event;
    std::map<std::wstring, std::wstring> fields;

    bool Has(const std::wstring& key) const { return fields.count(key) != 0; }
    std::wstring Field(const std::wstring& key) const;
    // A number field, decimal or 0x-hexadecimal; 0 when absent.
    std::uint32_t Number(const std::wstring& key) const;

    // For message events: which of the stand-in's windows got it ("main", "html", "edit",
    // "search", "searchedit", ...), and whether it was sent (else posted).
    std::wstring Window() const { return Field(L"window"); }
    bool Sent() const { return Field(L"delivery") == L"sent"; }
    std::uint32_t WParam() const { return Number(L"wParam"); }
    std::uint32_t LParam() const { return Number(L"lParam"); }
    std::wstring Text() const { return Field(L"text"); }
    bool IsMessage() const { return event.rfind(L"WM_", 0) == 0; }
};

// One line, newline included, ready to be appended to the log file.
std::string FormatViewerLogLine(const std::wstring& event, const LogFields& fields);
// One line without its line end; nothing for an empty or damaged line.
std::optional<ViewerLogEntry> ParseViewerLogLine(const std::string& line);
// Every complete line of the log file (a line still being written is left out).
std::vector<ViewerLogEntry> ReadViewerLog(const std::wstring& path);

std::string ToUtf8(const std::wstring& text);
std::wstring FromUtf8(const std::string& text);
