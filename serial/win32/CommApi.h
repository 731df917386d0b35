#pragma once

#include <string>

#include <windows.h>

namespace orvane {

// The few Win32 communications calls the port makes, behind one seam so that tests can
// stand in for a device (and for a driver whose WaitCommEvent works, which Wine's
// pseudo-terminal ports do not offer). Failures are told the Win32 way: FALSE or
// INVALID_HANDLE_VALUE, with the reason in GetLastError.
class ICommApi {
public:
    virtual ~ICommApi() = default;
    // CreateFileW for reading and writing, not shared, open-existing, overlapped.
    virtual HANDLE Open(const std::wstring& name) = 0;
    virtual void Close(HANDLE port) = 0;
    virtual BOOL SetTimeouts(HANDLE port, COMMTIMEOUTS* timeouts) = 0;
    virtual BOOL SetMask(HANDLE port, DWORD mask) = 0;
    virtual BOOL GetState(HANDLE port, DCB* dcb) = 0;
    virtual BOOL BuildState(const wchar_t* settings, DCB* dcb) = 0;
    virtual BOOL SetState(HANDLE port, DCB* dcb) = 0;
    virtual BOOL Purge(HANDLE port, DWORD flags) = 0;
    virtual BOOL WaitEvent(HANDLE port, DWORD* events, OVERLAPPED* overlapped) = 0;
    virtual BOOL ClearError(HANDLE port, DWORD* errors, COMSTAT* status) = 0;
    virtual BOOL Read(HANDLE port, void* buffer, DWORD size, DWORD* got,
                      OVERLAPPED* overlapped) = 0;
    virtual BOOL Write(HANDLE port, const void* buffer, DWORD size, DWORD* put,
                       OVERLAPPED* overlapped) = 0;
    virtual BOOL Result(HANDLE port, OVERLAPPED* overlapped, DWORD* transferred, BOOL wait) = 0;
    virtual BOOL Cancel(HANDLE port, OVERLAPPED* overlapped) = 0;
};

// The system's own calls.
ICommApi& SystemCommApi();

} // namespace orvane
