#pragma once

#include <string>

#include "core/Prompter.h"

namespace orvane {

// Tab numbers as the active-tab indicator shows them (tab index + 1).
inline constexpr int kTabComms = 1;
inline constexpr int kTabStart = 2;
inline constexpr int kTabIndicator = 9;
inline constexpr int kTabContact = 10;
inline constexpr int kTabCount = 10;

// What every page may ask of the main window; pages are given it when built,
// so tests can host a page without one.
class IPageHost {
public:
    virtual ~IPageHost() = default;
    // The active-tab indicator: 1 to 10.
    virtual int ActiveTab() const = 0;
    // The refresh flags of the pages "Start" (2) to "Indicator" (9): "0" or "1".
    virtual std::string RefreshFlag(int tabNumber) const = 0;
    virtual void SetRefreshFlag(int tabNumber, const std::string& flag) = 0;
    virtual IPrompter& Prompter() = 0;
    // Opens a document or web address with the desktop's default handler.
    virtual void OpenWithDesktop(const std::string& pathOrUrl) = 0;
};

} // namespace orvane
