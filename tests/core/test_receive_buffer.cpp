// The receive text always ends with the newest bytes and holds exactly the latest 1800 once full.
#include <gtest/gtest.h>

#include <string>

#include "core/ReceiveBuffer.h"

namespace orvane {
namespace {

void Feed(CReceiveBuffer& buffer, const std::string& bytes) {
    for (const char c : bytes) {
        buffer.OnReceiveChar(static_cast<std::uint8_t>(c));
    }
}

std::string Pattern(std::size_t length) {
    std::string out;
    for (std::size_t i = 0; i < length; ++i) {
        out.push_back(static_cast<char>('A' + i % 26));
    }
    return out;
}

TEST(ReceiveBuffer, StartsAsSpacesAndFillsFromTheFront) {
    CReceiveBuffer buffer;
    EXPECT_EQ(buffer.Text(), std::string(1950, ' '));
    Feed(buffer, "abc");
    EXPECT_EQ(buffer.Count(), 3);
    EXPECT_EQ(buffer.Text().substr(0, 4), "abc ");
    EXPECT_EQ(buffer.Text().size(), 1950u);
}

TEST(ReceiveBuffer, WindowKeepsExactlyTheLatestBytesAfterADisconnect) {
    CReceiveBuffer buffer;
    buffer.Clear();
    EXPECT_TRUE(buffer.Text().empty());
    const std::string bytes = Pattern(1800 + 777);
    Feed(buffer, bytes);
    EXPECT_EQ(buffer.Count(), 1800);
    // No stale byte is carried in: the text is precisely the newest 1800 bytes.
    EXPECT_EQ(buffer.Text(), bytes.substr(777));
}

TEST(ReceiveBuffer, The1801stByteMovesTheWindow) {
    CReceiveBuffer buffer;
    buffer.Clear();
    Feed(buffer, std::string(1800, 'a'));
    Feed(buffer, "Z");
    EXPECT_EQ(buffer.Count(), 1800);
    EXPECT_EQ(buffer.Text().size(), 1800u);
    EXPECT_EQ(buffer.Text().back(), 'Z');
    EXPECT_EQ(buffer.Text().front(), 'a');
}

TEST(ReceiveBuffer, ZeroWindowEmptiesTheTextUntilNewBytesPushThroughIt) {
    CReceiveBuffer buffer;
    buffer.Clear();
    Feed(buffer, std::string(1800, 'a'));
    buffer.ZeroWindow();
    EXPECT_EQ(buffer.Count(), 1800);
    EXPECT_TRUE(buffer.Text().empty());
    Feed(buffer, std::string(1799, 'b'));
    EXPECT_TRUE(buffer.Text().empty());
    Feed(buffer, "c");
    EXPECT_EQ(buffer.Text(), std::string(1799, 'b') + "c");
}

TEST(ReceiveBuffer, ZeroBytesEndTheText) {
    CReceiveBuffer buffer;
    Feed(buffer, std::string("ab\0cd", 5));
    EXPECT_EQ(buffer.Text(), "ab");
    buffer.FillWithSpaces();
    EXPECT_EQ(buffer.Count(), 0);
    EXPECT_EQ(buffer.Text().size(), 1950u);
}

} // namespace
} // namespace orvane
