#pragma once

#include <cstdint>
#include <functional>

namespace orvane {

// Receiver of the serial port's notifications (the main window in the application).
// Every call arrives on the owner's thread when the port has an executor, otherwise on
// the monitoring thread. None of them may throw.
class ISerialOwner {
public:
    virtual ~ISerialOwner() = default;
    // Notification 0x402: opens every hand-off of received bytes. The owner ignores it.
    virtual void OnCtsChange(unsigned port) { static_cast<void>(port); }
    // Notification 0x407: once per received byte, strictly in arrival order.
    virtual void OnReceiveChar(std::uint8_t byte, unsigned port) = 0;
    // The device failed or vanished after it was opened; reported once per opening.
    // The port then stays quiet until it is stopped or closed.
    virtual void OnPortFailure(unsigned port) = 0;
};

// Queues a callable onto the owner's thread and returns at once, e.g. a Qt queued
// invocation or a small queue of the owner's own (OwnerQueue). Must not throw.
using OwnerExecutor = std::function<void(std::function<void()>)>;

} // namespace orvane
