#pragma once

#include <windows.h>

namespace orvane {

// A manual-reset, unnamed event, initially not signalled.
class Win32Event {
public:
    Win32Event() : m_handle(CreateEventW(nullptr, TRUE, FALSE, nullptr)) {}
    ~Win32Event() {
        if (m_handle != nullptr) {
            CloseHandle(m_handle);
        }
    }
    Win32Event(const Win32Event&) = delete;
    Win32Event& operator=(const Win32Event&) = delete;

    bool IsValid() const { return m_handle != nullptr; }
    HANDLE Handle() const { return m_handle; }
    void Signal() { SetEvent(m_handle); }
    void Clear() { ResetEvent(m_handle); }

private:
    HANDLE m_handle;
};

} // namespace orvane
