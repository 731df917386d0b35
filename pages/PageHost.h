#pragma once

#include <string>

#include "core/comms/Prompter.h"
#include "core/comms/SequencerAccess.h"
#include "core/rules/TabRules.h"

namespace orvane {

class IImageHistory;
class RegisterImage;

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
    // The configuration every editing page reads and writes by register.
    virtual RegisterImage& Image() = 0;
    // Told of every replacement of the whole image and of a file opened.
    virtual IImageHistory& History() = 0;
    // The communication sequencer as pages see it: the busy and connected flags, the
    // state and command, the live field texts; and the requests they make of it.
    virtual const ISequencerStatus& Sequencing() const = 0;
    virtual ISequencerRequests& Requests() = 0;
    // The period of the page timers: 1000 ms, shorter only with fast ticks.
    virtual int TickIntervalMs() const = 0;
};

// The main window's fields and buttons that some pages write or read.
class IMainWindowFields {
public:
    virtual ~IMainWindowFields() = default;
    // The note field beside the main buttons.
    virtual void SetNote(const std::string& text) = 0;
    // "Download Configuration File to Controller" and "Save Configuration File to PC".
    virtual void SetMainButtonsEnabled(bool enabled) = 0;
    // The "MODE" field.
    virtual void ShowMode(const std::string& text) = 0;
    // Cleared while the profile page holds edits it has not stored.
    virtual bool ProfileStored() const = 0;
    virtual void SetProfileStored(bool stored) = 0;
    // Set by the Indicator page once it has reported "Syncing..."; the main window
    // clears it on every tab change but to "Live Data".
    virtual bool SyncingSeen() const = 0;
    virtual void SetSyncingSeen(bool seen) = 0;
    // The "Checksum" field.
    virtual void ShowChecksum(const std::string& text) = 0;
};

} // namespace orvane
