// The command line accepts exactly what --help documents and names what it refuses.
#include <gtest/gtest.h>

#include "tools/CliOptions.h"

namespace orvane::cli {
namespace {

TEST(CliOptions, CommandsTakeTheirArguments) {
    CliOptions o = ParseCliArgs({"read", "--port", "COM3", "-o", "out.txt", "--tick-ms", "20"});
    ASSERT_TRUE(o.error.empty()) << o.error;
    EXPECT_EQ(o.command, CliCommand::Read);
    EXPECT_EQ(o.port, "COM3");
    EXPECT_EQ(o.output, "out.txt");
    EXPECT_EQ(o.tickMs, 20);

    o = ParseCliArgs({"write", "cfg.txt", "--port", "/dev/ttyUSB0"});
    ASSERT_TRUE(o.error.empty()) << o.error;
    EXPECT_EQ(o.input, "cfg.txt");
    EXPECT_EQ(o.tickMs, 1000);

    o = ParseCliArgs({"log", "--port", "2", "--output", "l.txt", "--seconds", "60"});
    ASSERT_TRUE(o.error.empty()) << o.error;
    EXPECT_EQ(o.seconds, 60);
    EXPECT_FALSE(ParseCliArgs({"log", "--port", "2", "-o", "l.txt"}).seconds);

    EXPECT_TRUE(ParseCliArgs({"read", "--help"}).help);
    EXPECT_EQ(ParseCliArgs({"ports"}).command, CliCommand::Ports);
    EXPECT_EQ(ParseCliArgs({"check", "f.txt"}).input, "f.txt");
}

TEST(CliOptions, RefusalsNameTheProblem) {
    const struct {
        std::vector<std::string> args;
        const char* says;
    } cases[] = {
        {{}, "no command"},
        {{"frobnicate"}, "unknown command"},
        {{"info"}, "--port is required"},
        {{"check", "f.txt", "--port", "COM1"}, "--port does not apply"},
        {{"read", "--port", "COM1"}, "-o FILE is required"},
        {{"restart", "--port", "COM1", "-o", "x"}, "-o does not apply"},
        {{"write", "--port", "COM1"}, "configuration FILE is required"},
        {{"info", "--port", "COM1", "--seconds", "3"}, "--seconds applies to log"},
        {{"log", "--port", "1", "-o", "x", "--seconds", "0"}, "--seconds needs"},
        {{"log", "--port", "1", "-o", "x", "--seconds", "3x"}, "--seconds needs"},
        {{"info", "--port", "1", "--tick-ms", "4"}, "--tick-ms needs"},
        {{"info", "--port", "1", "--tick-ms", "1001"}, "--tick-ms needs"},
        {{"info", "--port"}, "--port needs a value"},
        {{"check", "a", "b"}, "unexpected argument b"},
    };
    for (const auto& c : cases) {
        const CliOptions o = ParseCliArgs(c.args);
        EXPECT_NE(o.error.find(c.says), std::string::npos)
            << ::testing::PrintToString(c.args) << " gave: " << o.error;
    }
}

} // namespace
} // namespace orvane::cli
