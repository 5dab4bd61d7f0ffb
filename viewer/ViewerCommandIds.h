// The WM_COMMAND ids that the HTML Help viewer and its HTML view obey: the client sends
// them, and the stand-in viewer and the tests know them by these names.
#pragma once
#include <cstdint>

inline constexpr std::uint32_t ExpandPaneCommand = 200;      // main window: show the pane
inline constexpr std::uint32_t ContractPaneCommand = 201;    // main window: hide the pane
inline constexpr std::uint32_t StopLoadingCommand = 202;     // main window: stop loading
inline constexpr std::uint32_t OpenFindCommand = 67;         // HTML view: open the search dialog
inline constexpr std::uint32_t OpenFindFollowUpCommand = 15; // HTML view: posted after 67
