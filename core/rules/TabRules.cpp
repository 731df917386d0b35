#include "core/rules/TabRules.h"

namespace orvane {

TabChange ChangeTab(int tabNumber, bool busy) {
    if (busy || tabNumber < 1 || tabNumber > kTabCount) {
        return {};
    }
    TabChange change;
    change.shown = true;
    // A configuration is sent from the editing and monitoring pages only.
    change.downloadEnabled = tabNumber != kTabComms && tabNumber != kTabIndicator;
    // The Indicator page counts silent ticks; "Live Data" shows the same records and keeps it.
    change.resetNoData = tabNumber != kTabLiveData;
    if (tabNumber == kTabAlarmConfig) {
        change.note = kAlarmNote;
    }
    if (tabNumber >= kTabStart && tabNumber <= kTabIndicator) {
        change.tickingTab = tabNumber;
    }
    return change;
}

} // namespace orvane
