#pragma once

#include <string_view>

namespace orvane {

// Tab numbers as the active-tab indicator shows them (tab index + 1).
inline constexpr int kTabComms = 1;
inline constexpr int kTabStart = 2;
inline constexpr int kTabMode = 3;
inline constexpr int kTabFanSetting = 4;
inline constexpr int kTabModBus = 5;
inline constexpr int kTabProfile = 6;
inline constexpr int kTabAlarmConfig = 7;
inline constexpr int kTabLiveData = 8;
inline constexpr int kTabIndicator = 9;
inline constexpr int kTabContact = 10;
inline constexpr int kTabCount = 10;

// The note beside the main buttons while "Alarm Config." is shown; its lines end in LF CR.
inline constexpr std::string_view kAlarmNote =
    "NOTE:\n\rAlarm Action Priority:\n\rAlarm1 has priority over 2. Just as Alarm 2 has over 3....";

// What selecting a tab changes in the main window besides showing its page. The note is
// cleared in any case; nothing else changes when the change is refused.
struct TabChange {
    bool shown = false;          // refused while a command runs, and for a tab that does not exist
    bool downloadEnabled = true; // "Download Configuration File to Controller"
    bool resetNoData = true;     // the no-data count and the "Syncing..." mark start afresh
    std::string_view note;       // shown in the note field; empty: the note stays cleared
    int tickingTab = 0;          // the one page from "Start" to "Indicator" whose timer runs
};
TabChange ChangeTab(int tabNumber, bool busy);

} // namespace orvane
