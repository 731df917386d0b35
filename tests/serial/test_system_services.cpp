// System services of the tool: a new file is never one that exists and keeps its bytes as
// written; port names and paths are told apart; error codes read as the system's words.
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include <gtest/gtest.h>

#include "serial/SystemPorts.h"
#include "serial/SystemServices.h"

namespace orvane {
namespace {

TEST(SystemServices, NewFileIsCreatedOnceAndWrittenAsBytes) {
    const std::filesystem::path path =
        std::filesystem::path(::testing::TempDir()) / "system-services-new.txt";
    std::filesystem::remove(path);
    int error = -1;
    std::FILE* file = CreateNewFile(path, error);
    ASSERT_NE(file, nullptr) << error;
    EXPECT_EQ(error, 0);
    const std::string bytes("<\r\n\0\x1A>", 6);
    EXPECT_EQ(std::fwrite(bytes.data(), 1, bytes.size(), file), bytes.size());
    std::fclose(file);
    std::ifstream in(path, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes) << "no line-end mapping";
    in.close();

    EXPECT_EQ(CreateNewFile(path, error), nullptr) << "an existing file is never replaced";
    EXPECT_EQ(error, EEXIST);
    std::filesystem::remove(path);
}

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
