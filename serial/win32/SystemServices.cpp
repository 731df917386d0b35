#include "serial/SystemServices.h"

#include <cerrno>

#include <windows.h>

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include "serial/win32/WideText.h"

namespace orvane {

std::string SystemErrorText(int code) {
    wchar_t* text = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, static_cast<DWORD>(code), 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message = length > 0 && text != nullptr ? std::wstring(text, length) : L"";
    LocalFree(text);
    while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' ||
                                message.back() == L' ' || message.back() == L'.')) {
        message.pop_back();
    }
    const std::string number = "error " + std::to_string(code);
    return message.empty() ? number : Narrow(message) + " (" + number + ")";
}

bool StandardErrorIsTerminal() {
    return _isatty(_fileno(stderr)) != 0;
}

std::tm LocalTime(std::time_t when) {
    std::tm local{};
    localtime_s(&local, &when);
    return local;
}

std::FILE* CreateNewFile(const std::filesystem::path& path, int& error) {
    // The C runtime's fopen knows no "x" mode and takes no UTF-16 name.
    const int fd =
        _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "wb");
    if (file == nullptr) {
        error = errno;
        _close(fd);
        return nullptr;
    }
    error = 0;
    return file;
}

} // namespace orvane
