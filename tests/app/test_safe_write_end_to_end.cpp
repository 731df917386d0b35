// Through the window and the built-in simulated controller: a compare lists what differs from the
// window's configuration and never changes it; every command shows its progress.
#include <gmock/gmock.h>

#include <fstream>
#include <iterator>

#include <QTemporaryDir>

#include "AppTestSupport.h"
#include "app/CommandRunner.h"
#include "app/SaveConfiguration.h"
#include "pages/mD2.h"

namespace orvane::test {
namespace {

using SafeWriteEndToEnd = WindowTest;
using ::testing::HasSubstr;
using ::testing::StartsWith;

std::string Slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

TEST_F(SafeWriteEndToEnd, CompareWithFileListsTheDifferencesAndSavesThem) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("plant.txt").toStdString();
    prompter.saveAnswer = file;
    SaveConfigurationFile(window->Image(), false, prompter, *window);
    ClickTab(1);
    mD2* start = window->StartPage();
    prompter.openAnswer = {file};
    Click(start->CompareFileButton());
    ListDialog* list = window->Runner().ShownList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->HeadingField()->text().toStdString(),
              "From the window to " + file + ": No differences");

    window->Image().SetText(297, "0019");
    const RegisterTexts edited = window->Image().Texts();
    Click(start->CompareFileButton());
    list = window->Runner().ShownList();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->ListField()->toPlainText(),
              "Fan Setting\nFan Setting / FAN 2 Ramp Rate: 25 -> 10");
    const std::string saved = dir.filePath("differences.txt").toStdString();
    prompter.saveAnswer = saved;
    Click(list->SaveButton());
    EXPECT_EQ(Slurp(saved), list->Text().toStdString());
    EXPECT_EQ(window->Image().Text(297), "0019");

    const std::string damaged = dir.filePath("damaged.txt").toStdString();
    std::ofstream(damaged) << "no configuration here";
    prompter.openAnswer = {damaged};
    Click(start->CompareFileButton());
    ASSERT_FALSE(prompter.asked.empty());
    EXPECT_EQ(prompter.asked.back().caption, "Compare with File");
    EXPECT_THAT(prompter.asked.back().text, HasSubstr("not a configuration file"));
    EXPECT_EQ(window->Image().Texts(), edited);
}

TEST_F(SafeWriteEndToEnd, ACommandShowsItsStepsAndTimeLeft) {
    ASSERT_TRUE(Connect());
    ClickTab(1);
    Click(window->StartPage()->ReadButton());
    ASSERT_TRUE(TickUntil([&] { return window->Sequencing().Progress().done >= 5; }));
    ProgressPanel* progress = window->Progress();
    EXPECT_THAT(progress->OutcomeField()->text().toStdString(),
                StartsWith("Reading the configuration: step 5 of 34, "));
    EXPECT_EQ(progress->Bar()->value(), 5);
    EXPECT_EQ(progress->Bar()->maximum(), 34);
    ASSERT_TRUE(TickUntil([&] { return !window->Sequencing().IsBusy(); }));
    EXPECT_EQ(progress->OutcomeField()->text(), "Reading the configuration: finished");
}

} // namespace
} // namespace orvane::test
