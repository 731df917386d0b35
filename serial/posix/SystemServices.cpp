#include "serial/SystemServices.h"

#include <cerrno>
#include <cstring>

#include <unistd.h>

namespace orvane {

std::string SystemErrorText(int code) {
    return std::strerror(code);
}

bool StandardErrorIsTerminal() {
    return isatty(STDERR_FILENO) != 0;
}

std::tm LocalTime(std::time_t when) {
    std::tm local{};
    localtime_r(&when, &local);
    return local;
}

std::FILE* CreateNewFile(const std::filesystem::path& path, int& error) {
    std::FILE* file = std::fopen(path.c_str(), "wbx");
    error = file == nullptr ? errno : 0;
    return file;
}

} // namespace orvane
