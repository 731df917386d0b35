#include "serial/win32/CommApi.h"

namespace orvane {

namespace {

class SystemComm final : public ICommApi {
public:
    HANDLE Open(const std::wstring& name) override {
        return CreateFileW(name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
    }
    void Close(HANDLE port) override { CloseHandle(port); }
    BOOL SetTimeouts(HANDLE port, COMMTIMEOUTS* timeouts) override {
        return SetCommTimeouts(port, timeouts);
    }
    BOOL SetMask(HANDLE port, DWORD mask) override { return SetCommMask(port, mask); }
    BOOL GetState(HANDLE port, DCB* dcb) override { return GetCommState(port, dcb); }
    BOOL BuildState(const wchar_t* settings, DCB* dcb) override {
        return BuildCommDCBW(settings, dcb);
    }
    BOOL SetState(HANDLE port, DCB* dcb) override { return SetCommState(port, dcb); }
    BOOL Purge(HANDLE port, DWORD flags) override { return PurgeComm(port, flags); }
    BOOL WaitEvent(HANDLE port, DWORD* events, OVERLAPPED* overlapped) override {
        return WaitCommEvent(port, events, overlapped);
    }
    BOOL ClearError(HANDLE port, DWORD* errors, COMSTAT* status) override {
        return ClearCommError(port, errors, status);
    }
    BOOL Read(HANDLE port, void* buffer, DWORD size, DWORD* got, OVERLAPPED* overlapped) override {
        return ReadFile(port, buffer, size, got, overlapped);
    }
    BOOL Write(HANDLE port, const void* buffer, DWORD size, DWORD* put,
               OVERLAPPED* overlapped) override {
        return WriteFile(port, buffer, size, put, overlapped);
    }
    BOOL Result(HANDLE port, OVERLAPPED* overlapped, DWORD* transferred, BOOL wait) override {
        return GetOverlappedResult(port, overlapped, transferred, wait);
    }
    BOOL Cancel(HANDLE port, OVERLAPPED* overlapped) override {
        return CancelIoEx(port, overlapped);
    }
};

} // namespace

ICommApi& SystemCommApi() {
    static SystemComm api;
    return api;
}

} // namespace orvane
