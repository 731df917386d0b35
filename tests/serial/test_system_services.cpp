// System services of the tool: port names and paths are told apart; error codes read as the
// system's words.
#include <cerrno>
#include <string>

#include <gtest/gtest.h>

#include "serial/SystemPorts.h"
#include "serial/SystemServices.h"

namespace orvane {
namespace {

TEST(SystemServices, PathsAreToldFromComNumbersAndErrorsHaveWords) {
    EXPECT_TRUE(IsDevicePath("/dev/ttyUSB0"));
    EXPECT_FALSE(IsDevicePath("COM3"));
    EXPECT_FALSE(IsDevicePath("3"));
#ifdef _WIN32
    EXPECT_TRUE(IsDevicePath("\\\\.\\COM3"));
    EXPECT_EQ(SystemPortPath(12), "\\\\.\\COM12") << "every number names its device";
    const int missing = 2;   // ERROR_FILE_NOT_FOUND
    const int forbidden = 5; // ERROR_ACCESS_DENIED
#else
    const int missing = ENOENT;
    const int forbidden = EACCES;
#endif
    EXPECT_EQ(SystemPortPath(0), std::nullopt);
    const std::string a = SystemErrorText(missing);
    const std::string b = SystemErrorText(forbidden);
    EXPECT_FALSE(a.empty());
    EXPECT_NE(a, b);
}

} // namespace
} // namespace orvane
