#pragma once

#include <string>

namespace orvane {

// Animated pictures of the main window, by resource id.
inline constexpr int kAnimationCommunicating = 244;
inline constexpr int kAnimationIdle = 245;
inline constexpr int kAnimationLogging = 247;
inline constexpr int kAnimationNotLogging = 248;

// The main window fields the sequencer and the logger write; the main window
// implements it, tests record it. Texts are pushed as they change.
class IMainWindowView {
public:
    virtual ~IMainWindowView() = default;
    virtual void ShowTick(const std::string& text) = 0;
    virtual void ShowStatus(const std::string& text) = 0;     // the status line
    virtual void ShowActivity(const std::string& text) = 0;   // "IDLE" / "Communicating..."
    virtual void PlayActivityAnimation(int resourceId) = 0;   // 244 or 245
    virtual void ShowConnection(const std::string& text) = 0; // "Connected to COM Port" ...
    virtual void ShowLogStatus(const std::string& text) = 0;
    virtual void PlayLoggingIndicator(int resourceId) = 0; // 247 or 248
    virtual bool IsLoggingIndicatorPlaying() const = 0;
    // The input controls of the page shown (by the active-tab indicator).
    virtual void DisablePageControls() = 0;
    virtual void EnablePageControls() = 0;
    // The Start page's "Controller Information" text.
    virtual void ShowControllerInfo(const std::string& text) = 0;
};

// What connecting and disconnecting change on the Comms page.
class ICommsPageView {
public:
    virtual ~ICommsPageView() = default;
    virtual void SetConnectButtonText(const std::string& text) = 0; // "Connect" / "Disconnect"
    // The port list and "Refresh Port Search".
    virtual void SetPortSelectionEnabled(bool enabled) = 0;
};

} // namespace orvane
