// "Save Configuration File to PC" writes the image as a file that reads back whole, and never fails
// silently.
#include <filesystem>
#include <fstream>
#include <iterator>

#include <QSettings>
#include <gtest/gtest.h>
#include <unistd.h>

#include "AppTestSupport.h"
#include "app/SaveConfiguration.h"
#include "core/ConfigFile.h"

namespace orvane {
namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class SaveConfiguration : public ::testing::Test {
protected:
    void SetUp() override {
        QSettings().clear();
        dir = fs::temp_directory_path() / ("orvane-save-" + std::to_string(::getpid()));
        fs::create_directories(dir);
        window = std::make_unique<CZephanDlg>(harness.Options());
    }
    void TearDown() override { fs::remove_all(dir); }

    test::TestWindow harness;
    std::unique_ptr<CZephanDlg> window;
    fs::path dir;
};

TEST_F(SaveConfiguration, WritesAFileThatReadsBackAsTheSameImage) {
    window->Image().SetText(42, "ABCD");
    const fs::path file = dir / "saved.txt";
    harness.prompter.saveAnswer = file.string();
    QTest::mouseClick(window->SaveButton(), Qt::LeftButton);

    ASSERT_EQ(harness.prompter.saveRequests.size(), 1u);
    EXPECT_EQ(harness.prompter.saveRequests[0].proposedName, "DEFAULT_Issue0");
    EXPECT_EQ(harness.prompter.saveRequests[0].defaultExtension, "txt");
    EXPECT_TRUE(harness.prompter.saveRequests[0].confirmOverwrite);
    EXPECT_TRUE(harness.prompter.asked.empty());

    const auto bytes = ReadAll(file);
    EXPECT_EQ(bytes.size(), kConfigFileSize);
    const FileReadResult read = DecodeConfigurationFile(bytes);
    ASSERT_EQ(read.outcome, FileReadOutcome::Loaded);
    EXPECT_EQ(read.groups, window->Image().Texts());
    EXPECT_EQ(window->ChecksumField()->text().toStdString(), window->Image().Text(kChecksumIndex));
}

TEST_F(SaveConfiguration, CancellingWritesNothing) {
    QTest::mouseClick(window->SaveButton(), Qt::LeftButton);
    EXPECT_EQ(harness.prompter.saveRequests.size(), 1u);
    EXPECT_TRUE(fs::is_empty(dir));
    EXPECT_TRUE(harness.prompter.asked.empty());
}

TEST_F(SaveConfiguration, AFileThatCannotBeWrittenIsReported) {
    harness.prompter.saveAnswer = (dir / "missing-folder" / "saved.txt").string();
    QTest::mouseClick(window->SaveButton(), Qt::LeftButton);
    ASSERT_EQ(harness.prompter.asked.size(), 1u);
    EXPECT_EQ(harness.prompter.asked[0].caption, "Configuration not saved");
    EXPECT_NE(harness.prompter.asked[0].text.find("missing-folder"), std::string::npos);
}

TEST_F(SaveConfiguration, AnImageThatCannotBeSentIsNotSavedEither) {
    window->Image().SetText(7, "XYZ");
    harness.prompter.saveAnswer = (dir / "saved.txt").string();
    QTest::mouseClick(window->SaveButton(), Qt::LeftButton);
    ASSERT_EQ(harness.prompter.asked.size(), 1u);
    EXPECT_NE(harness.prompter.asked[0].text.find("Register 7 "), std::string::npos);
    EXPECT_FALSE(fs::exists(dir / "saved.txt"));
}

TEST_F(SaveConfiguration, RefusedWhileACommandRuns) {
    harness.prompter.saveAnswer = (dir / "saved.txt").string();
    SaveConfigurationFile(window->Image(), true, harness.prompter, *window);
    ASSERT_EQ(harness.prompter.asked.size(), 1u);
    EXPECT_EQ(harness.prompter.asked[0].text, "Communication with Controller still in Progress");
    EXPECT_EQ(harness.prompter.asked[0].caption, "Wait until it is ended");
    EXPECT_TRUE(harness.prompter.saveRequests.empty());
    EXPECT_TRUE(fs::is_empty(dir));
}

} // namespace
} // namespace orvane
