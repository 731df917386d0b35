#pragma once

#include <string_view>

namespace orvane::texts {

// Shared refusals: the pages show the same two.
inline constexpr std::string_view kBusy = "Communication with Controller still in Progress";
inline constexpr std::string_view kBusyCaption = "Wait until it is ended";
inline constexpr std::string_view kNotConnected = "Communication port not set / connected!";
inline constexpr std::string_view kNotConnectedCaption = "Warning, No Connection ";
inline constexpr std::string_view kLogActive =
    "Log Data MUST be de-activated before process can be executed!";
inline constexpr std::string_view kLogActiveCaption = "De-Activate Logging Data check box";

inline constexpr std::string_view kCreateLog = "Do you want to create a log file?";
inline constexpr std::string_view kCreateLogCaption = "Log data enabled in config file!";

inline constexpr std::string_view kNoReply =
    "Check communication cable is well connected\n and controller is powered. Or manually "
    "restart the controller and the software";
inline constexpr std::string_view kNoLiveData =
    "Check communication cable is well connected\n and controller is powered. Or manually "
    "restart the controller and the software,\nClick the OK when all done.";
inline constexpr std::string_view kNoDataCaption = "Warning , No data received!!";

inline constexpr std::string_view kChecksumError = "Error!";

inline constexpr std::string_view kIdle = "IDLE";
inline constexpr std::string_view kCommunicating = "Communicating...";
inline constexpr std::string_view kSyncing = "Syncing...";
inline constexpr std::string_view kConnected = "Connected to COM Port";
inline constexpr std::string_view kDisconnected = "Disconnected from COM Port";
inline constexpr std::string_view kConnectButton = "Connect";
inline constexpr std::string_view kDisconnectButton = "Disconnect";

inline constexpr std::string_view kLogOpening = "OPENING LOG FILE";
inline constexpr std::string_view kLogClosing = "CLOSING LOG FILE";
inline constexpr std::string_view kLogOpened = "File opened successfully";
inline constexpr std::string_view kLogNotOpened = "No File opened";
inline constexpr std::string_view kLogClosed = "Log File Closed";

inline constexpr std::string_view kLinkFailureCaption = "Application Error";
inline constexpr std::string_view kImageRefusedCaption = "Configuration not sent";

} // namespace orvane::texts
