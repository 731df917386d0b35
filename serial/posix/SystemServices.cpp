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

} // namespace orvane
