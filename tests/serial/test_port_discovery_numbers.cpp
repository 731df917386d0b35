// COM numbers: a device keeps its number across runs and re-plugs; a new one takes the lowest free.
#include <gtest/gtest.h>

#include "serial/ComNumbers.h"

namespace orvane {
namespace {

class MemorySettings final : public IPortNumberSettings {
public:
    std::map<int, std::string> LoadComAssignments() override { return stored; }
    void SaveComAssignments(const std::map<int, std::string>& assignments) override {
        stored = assignments;
        ++saves;
    }
    std::vector<std::string> ExtraDevicePaths() override { return {}; }

    std::map<int, std::string> stored;
    int saves = 0;
};

TEST(ComNumbers, NewDevicesTakeTheLowestFreeNumbersInOrder) {
    MemorySettings settings;
    settings.stored = {{2, "old"}};
    const auto numbers = ComNumbers(settings).Assign({{"a"}, {"b"}, {"c"}});
    EXPECT_EQ(numbers, (std::vector<int>{1, 3, 4}));
    EXPECT_EQ(settings.stored,
              (std::map<int, std::string>{{1, "a"}, {2, "old"}, {3, "b"}, {4, "c"}}));
}

TEST(ComNumbers, ADeviceKeepsItsNumberInANewRunWhateverElseIsPresent) {
    MemorySettings settings;
    ComNumbers(settings).Assign({{"adapter-x"}, {"adapter-y"}});
    // Next run: x unplugged, a new adapter plugged, y found first.
    const auto numbers = ComNumbers(settings).Assign({{"adapter-y"}, {"adapter-z"}});
    EXPECT_EQ(numbers, (std::vector<int>{2, 3}));
    // x comes back with its own number.
    EXPECT_EQ(ComNumbers(settings).Assign({{"adapter-x"}}), std::vector<int>{1});
}

TEST(ComNumbers, SavesOnlyWhenSomethingNewWasRemembered) {
    MemorySettings settings;
    ComNumbers numbers(settings);
    numbers.Assign({{"a"}});
    numbers.Assign({{"a"}});
    EXPECT_EQ(settings.saves, 1);
}

TEST(ComNumbers, ShortLivedDevicesAreNumberedButNotRemembered) {
    MemorySettings settings;
    settings.stored = {{1, "a"}};
    const auto numbers = ComNumbers(settings).Assign({{"pty-1", false}, {"a"}, {"pty-2", false}});
    EXPECT_EQ(numbers, (std::vector<int>{2, 1, 3}));
    EXPECT_EQ(settings.stored.size(), 1u);
    EXPECT_EQ(settings.saves, 0);
}

TEST(ComNumbers, AHandEditedDuplicateGivesTheDeviceItsLowestNumber) {
    MemorySettings settings;
    settings.stored = {{4, "a"}, {2, "a"}};
    EXPECT_EQ(ComNumbers(settings).Assign({{"a"}, {"b"}}), (std::vector<int>{2, 1}));
}

TEST(ComNumbers, TheSameIdentityTwiceInOneListingGetsOneNumber) {
    MemorySettings settings;
    EXPECT_EQ(ComNumbers(settings).Assign({{"a"}, {"a"}}), (std::vector<int>{1, 1}));
}

} // namespace
} // namespace orvane
