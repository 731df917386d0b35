// The port list's fill rules: port numbers from names, which ports are listed, which one is
// selected.
#include <gtest/gtest.h>

#include "serial/PortDiscovery.h"

namespace orvane {
namespace {

PortDevice Device(std::optional<std::string> portName, std::optional<std::string> friendly,
                  std::optional<std::string> service = std::nullopt) {
    return {std::move(portName), std::move(friendly), std::move(service)};
}

const PortListOptions kCommsPage{false, false, "No port"};

TEST(PortItemData, TakesTheNumberFromThePortNameOrElseTheFriendlyName) {
    EXPECT_EQ(PortItemData(Device("COM3", "Anything (COM9)")), 3u);
    EXPECT_EQ(PortItemData(Device(std::nullopt, "USB Serial Device (COM7)")), 7u);
    EXPECT_EQ(PortItemData(Device(std::nullopt, "Modem (COM12) rear")), 12u);
    EXPECT_EQ(PortItemData(Device("COM23x", "x")), 23u); // leading digits only
}

TEST(PortItemData, GivesNoNumberToNonComPorts) {
    EXPECT_EQ(PortItemData(Device("LPT1", "Printer Port (LPT1)")), 0u);
    EXPECT_EQ(PortItemData(Device(std::nullopt, "Printer Port (LPT1)")), 0u);
    EXPECT_EQ(PortItemData(Device(std::nullopt, std::nullopt)), 0u);
    EXPECT_EQ(PortItemData(Device("com4", "x")), 0u); // "COM" is compared exactly
    EXPECT_EQ(PortItemData(Device("COM", "x")), 0u);
    EXPECT_EQ(PortItemData(Device("COM99999999999", "x")), 0u);
}

TEST(PortItemData, FlagsDriversOtherThanSerialButNotAMissingService) {
    EXPECT_EQ(PortItemData(Device("COM5", "x", "Serial")), 5u);
    EXPECT_EQ(PortItemData(Device("COM5", "x", "sErIaL")), 5u);
    EXPECT_EQ(PortItemData(Device("COM5", "x")), 5u);
    EXPECT_EQ(PortItemData(Device("COM5", "x", "ftdi_sio")), 5u + kNonSerialServiceFlag);
}

TEST(BuildPortList, ListsComPortsSortedByTextAndLeavesOthersOut) {
    const auto list =
        BuildPortList({Device("COM9", "Zeta (COM9)"), Device("LPT1", "Printer (LPT1)"),
                       Device(std::nullopt, "alpha (COM2)")},
                      kCommsPage, 0);
    ASSERT_EQ(list.items.size(), 2u);
    EXPECT_EQ(list.items[0].text, "alpha (COM2)");
    EXPECT_EQ(list.items[0].data, 2u);
    EXPECT_EQ(list.items[1].text, "Zeta (COM9)");
}

TEST(BuildPortList, SelectsTheRequestedPortByItsLowSixteenBits) {
    const auto list = BuildPortList(
        {Device("COM3", "A (COM3)", "usbser"), Device("COM4", "B (COM4)")}, kCommsPage, 3);
    ASSERT_EQ(list.selectedIndex, 0);
    EXPECT_EQ(list.items[0].data, 3u + kNonSerialServiceFlag);
}

TEST(BuildPortList, SelectsTheOnlyPortWhenNoneIsRemembered) {
    EXPECT_EQ(BuildPortList({Device("COM7", "One (COM7)")}, kCommsPage, -1).selectedIndex, 0);
    EXPECT_EQ(BuildPortList({Device("COM7", "One (COM7)")}, kCommsPage, 4).selectedIndex, 0);
}

TEST(BuildPortList, SelectsNothingAmongTwoPortsWhenNoneMatches) {
    const auto list =
        BuildPortList({Device("COM1", "One (COM1)"), Device("COM2", "Two (COM2)")}, kCommsPage, 5);
    EXPECT_EQ(list.selectedIndex, -1);
    EXPECT_EQ(list.items.size(), 2u);
}

TEST(BuildPortList, NoneItemComesFirstAndIsTheFallbackSelection) {
    const PortListOptions withNone{true, false, "<None>"};
    const auto list =
        BuildPortList({Device("COM1", "One (COM1)"), Device("COM2", "Two (COM2)")}, withNone, 9);
    ASSERT_EQ(list.items.size(), 3u);
    EXPECT_EQ(list.items[0].text, "<None>");
    EXPECT_EQ(list.items[0].data, 0u);
    EXPECT_EQ(list.selectedIndex, 0);
    EXPECT_EQ(BuildPortList({}, withNone, 0).selectedIndex, 0);
    EXPECT_EQ(BuildPortList({}, kCommsPage, 0).selectedIndex, -1);
}

TEST(BuildPortList, OnlySerialServiceLeavesFlaggedPortsOut) {
    const PortListOptions onlySerial{false, true, ""};
    const auto list = BuildPortList(
        {Device("COM1", "One (COM1)", "Serial"), Device("COM2", "Two (COM2)", "usbser")},
        onlySerial, 0);
    ASSERT_EQ(list.items.size(), 1u);
    EXPECT_EQ(list.items[0].data, 1u);
}

} // namespace
} // namespace orvane
