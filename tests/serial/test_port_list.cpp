// Port list: numbers from the names, sorted, the remembered port selected, kept per device;
// port names and paths told apart.
#include <gtest/gtest.h>

#include "serial/ComNumbers.h"
#include "serial/PortDiscovery.h"
#include "serial/SystemPorts.h"
#include "tests/serial/PortTestSupport.h"

namespace orvane {
namespace {

using test::MemorySettings;
using test::Show;

using std::nullopt;

PortDevice Device(std::optional<std::string> portName, std::optional<std::string> friendly,
                  std::optional<std::string> service = nullopt) {
    return {std::move(portName), std::move(friendly), std::move(service)};
}

TEST(PortList, NumbersFromNamesSortedSelectingTheRememberedOrTheOnlyPort) {
    const PortListOptions page{false, false, ""};
    // Left out: printer ports, no names, "com" in lower case, no digits, too large a number.
    EXPECT_EQ(
        Show(BuildPortList(
            {Device("COM3", "Port name first (COM9)"), Device(nullopt, "USB Serial Device (COM7)"),
             Device(nullopt, "Modem (COM12) rear"), Device("COM23x", "Leading digits"),
             Device("LPT1", "Printer Port (LPT1)"), Device(nullopt, "Printer Port (LPT1)"),
             Device(nullopt, nullopt), Device("com4", "x"), Device("COM", "x"),
             Device("COM99999999999", "x"), Device("COM5", "serial", "sErIaL"),
             Device("COM6", "ftdi", "ftdi_sio")},
            page, 6)),
        " *ftdi=65542 Leading digits=23 Modem (COM12) rear=12 Port name first (COM9)=3 "
        "serial=5 USB Serial Device (COM7)=7");
    const std::vector<PortDevice> two{Device("COM1", "A (COM1)", "Serial"),
                                      Device("COM2", "B", "usbser")};
    EXPECT_EQ(Show(BuildPortList({Device("COM7", "One (COM7)")}, page, 4)), " *One (COM7)=7");
    EXPECT_EQ(Show(BuildPortList(two, page, 5)), " A (COM1)=1 B=65538");
    EXPECT_EQ(Show(BuildPortList(two, {true, true, "<None>"}, 9)), " *<None>=0 A (COM1)=1");
}

TEST(ComNumbers, KeptPerIdentityAcrossRunsNewOnesTakeTheLowestFree) {
    MemorySettings settings;
    settings.stored = {{2, "old"}, {6, "dup"}, {5, "dup"}}; // a hand-edited duplicate
    ComNumbers numbers(settings);
    EXPECT_EQ(numbers.Assign({{"a"}, {"pty", false}, {"b"}, {"a"}, {"dup"}}),
              (std::vector<int>{1, 3, 4, 1, 5}));
    EXPECT_EQ(settings.stored,
              (std::map<int, std::string>{{1, "a"}, {2, "old"}, {4, "b"}, {5, "dup"}, {6, "dup"}}))
        << "a short-lived device is not remembered";
    EXPECT_EQ(settings.saves, 1);
    numbers.Assign({{"b"}, {"a"}});
    EXPECT_EQ(settings.saves, 1) << "nothing new, nothing saved";

    // Next run: "a" unplugged, "b" found first, a new "c" takes the number "pty" left free.
    EXPECT_EQ(ComNumbers(settings).Assign({{"b"}, {"c"}}), (std::vector<int>{4, 3}));
    EXPECT_EQ(ComNumbers(settings).Assign({{"a"}}), std::vector<int>{1});
}

TEST(SystemServices, PathsAreToldFromComNumbers) {
    EXPECT_TRUE(IsDevicePath("/dev/ttyUSB0"));
    EXPECT_FALSE(IsDevicePath("COM3"));
    EXPECT_FALSE(IsDevicePath("3"));
#ifdef _WIN32
    EXPECT_TRUE(IsDevicePath("\\\\.\\COM3"));
    EXPECT_EQ(SystemPortPath(12), "\\\\.\\COM12") << "every number names its device";
#endif
    EXPECT_EQ(SystemPortPath(0), std::nullopt);
}

} // namespace
} // namespace orvane
