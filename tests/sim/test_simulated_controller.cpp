// The controller answers menu keys and sends records as the host expects; bad texts are refused.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>

#include "SimHarness.h"
#include "core/comms/ReplyParsers.h"
#include "core/image/ConfigurationText.h"
#include "sim/ControllerTexts.h"

using namespace orvane;
using namespace orvane::sim;
using namespace orvane::sim::testing;
using Mode = SimulatedController::Mode;

namespace {

// Differs from the template: another name, fan 2 unused, a new issue.
RegisterImage ChangedImage() {
    RegisterImage image = TemplateImage();
    image.SetValue(186, 'F');
    image.SetValue(1, 0);
    image.SetValue(211, 7);
    return image;
}

// The host's way into a menu command: "c", the key eight seconds later, two seconds' wait.
void MenuCommand(ControllerDriver& d, const char* key) {
    d.Type("c");
    d.Type(key, 8s);
    d.Run(2s);
    d.Take();
}

// The host's read: the second "s" two seconds after the first.
std::string ReadAsHost(ControllerDriver& d) {
    MenuCommand(d, "s");
    d.Type("s");
    d.Run(10s);
    return d.Take();
}

// The host's write, the text in pieces of `piece` bytes (0: at once) 100 ms apart; the
// answer is taken 25 s later, past the time-out for an unfinished text.
std::string WriteAsHost(ControllerDriver& d, const std::string& text, std::size_t piece = 0) {
    MenuCommand(d, "r");
    for (std::size_t i = 0; i < text.size(); i += piece ? piece : text.size()) {
        d.Type(text.substr(i, piece ? piece : text.size()), 100ms);
    }
    d.Run(25s);
    return d.Take();
}

} // namespace

TEST(SimulatedController, SendsARecordASecondInTheHostsFormatWithUpTimeAdvancing) {
    ControllerDriver d;
    d.Run(30s);
    const auto records = LiveRecords(d.Take());
    ASSERT_EQ(records.size(), 29u); // between 30 terminators
    for (std::size_t i = 0; i < records.size(); ++i) {
        // As the host splits it, the line feed of CR LF counts into field 0.
        ASSERT_EQ(SplitRecord(records[i]).size(), 14u) << records[i];
        EXPECT_TRUE(records[i].starts_with('\n') && records[i].ends_with("s,")) << records[i];
        EXPECT_EQ(UpTime(records[i]), static_cast<long>(i) + 2) << records[i];
    }
    d.Run(1h); // after a long pause the records resume rather than catch up
    EXPECT_LT(LiveRecords(d.Take()).size(), 70u);
    d.Run(2s);
    EXPECT_EQ(LastUpTime(d.Take()), 3632);
}

TEST(SimulatedController, AnswersEveryKeyOfItsMenuOnTheHostsTiming) {
    ControllerDriver d;
    RegisterTexts texts = ChangedImage().Texts();
    texts[5] = "00a1"; // kept as the words they are, so that the dump always parses
    texts[6] = "zz";
    texts[kChecksumIndex] = "what";
    d.controller.SetConfiguration(texts);
    const RegisterImage kept = d.controller.Configuration();
    EXPECT_EQ(kept.Text(5) + kept.Text(6), "00A10000");
    d.Type("c", 3s); // the menu, and no records while it shows
    const std::string menu = d.Take();
    EXPECT_TRUE(menu.find("MENU") != std::string::npos && menu.find('<') == std::string::npos &&
                menu.find("ORV") == std::string::npos)
        << menu;
    d.Run(5s);
    EXPECT_EQ(LastUpTime(d.Take()), -1);
    d.Type("s"); // one "s", and one after another key, show nothing
    d.Type("c", 10s);
    d.Type("s");
    d.Run(2s);
    EXPECT_EQ(d.Take().find('<'), std::string::npos);
    d.Type(" "); // back to the records; the up time ran on in the menu
    d.Run(3s);
    EXPECT_EQ(LastUpTime(d.Take()), 23);

    const std::string reply = ReadAsHost(d); // "s" twice on the host's timing
    const ConfigReply dump = ReadConfigurationReply(reply);
    ASSERT_EQ(dump.outcome, ConfigReplyOutcome::Loaded) << reply;
    EXPECT_EQ(dump.groups, kept.Texts());
    EXPECT_NE(reply.find(kept.Text(kChecksumIndex) + "> END"), std::string::npos);
    EXPECT_LT(reply.size(), 1800u); // the host's window

    d.Type(" ");
    d.Type("c", 20s);
    d.Type("z", 8s); // a restart: a short silence, then the identification and records
    d.Take();
    d.Run(1s);
    EXPECT_EQ(d.Take(), "");
    d.Type("c"); // a booting controller hears nothing
    d.Run(4s);
    const std::string boot = d.Take();
    // The host shows at most 267 characters from "ORV" on; the text fits them whole.
    ASSERT_TRUE(boot.starts_with("ORV") && boot.starts_with(IdentificationText())) << boot;
    EXPECT_TRUE(IdentificationText().size() >= 240 && IdentificationText().size() <= 267);
    EXPECT_EQ(LastUpTime(boot), 3);
    EXPECT_TRUE(SameRegisters(d.controller.Configuration().Texts(), kept.Texts()));

    MenuCommand(d, "x"); // the default template
    EXPECT_TRUE(SameRegisters(d.controller.Configuration().Texts(), TemplateImage().Texts()));
    d.Run(50s);
    EXPECT_EQ(d.controller.CurrentMode(), Mode::Menu);
    d.Run(10s);
    EXPECT_EQ(d.controller.CurrentMode(), Mode::LiveRecords); // a forgotten menu
}

// A text is taken only when its checksum and words hold; what is taken a later read brings
// back. A failing memory cell stores one register otherwise, and the dump then carries what is
// stored under a checksum that matches it, so only a comparison can tell.
TEST(SimulatedController, TakesAConfigurationTextOnlyWhenItsChecksumAndWordsHold) {
    RegisterImage changed = ChangedImage();
    const std::string text = BuildConfigurationText(changed).text;
    ASSERT_EQ(text.size(), 1611u);
    RegisterImage corrupted = changed;
    corrupted.SetValue(186, 'F' ^ 1);
    std::string wrongSum = text, notAWord = text;
    wrongSum[1602] = wrongSum[1602] == '0' ? '1' : '0'; // first checksum digit
    notAWord[2 + 4 * 50] = 'G';
    const RegisterImage fresh = TemplateImage();
    const struct {
        const char* name;
        std::string sent;
        std::size_t piece;
        std::optional<int> corrupt;
        const RegisterImage& holds;
    } cases[] = {
        {"right checksum", text, 0, {}, changed},
        {"stray line end first, sent in pieces", "\r\n" + text, 97, {}, changed},
        {"failing memory cell", text, 0, 186, corrupted},
        {"wrong checksum", wrongSum, 0, {}, fresh},
        {"register that is no word", notAWord, 0, {}, fresh},
        {"unfinished text, timed out", text.substr(0, 900), 0, {}, fresh},
    };
    for (const auto& c : cases) {
        ControllerDriver d;
        d.controller.SetCorruptStore(c.corrupt);
        const bool taken = &c.holds != &fresh;
        const std::string answer = WriteAsHost(d, c.sent, c.piece);
        EXPECT_NE(answer.find(taken ? "accepted" : "refused"), std::string::npos)
            << "case " << c.name << ": " << answer;
        EXPECT_EQ(d.controller.ConfigurationChanges(), taken ? 1u : 0u) << "case " << c.name;
        const ConfigReply dump = ReadConfigurationReply(ReadAsHost(d));
        EXPECT_EQ(dump.outcome, ConfigReplyOutcome::Loaded) << "case " << c.name;
        EXPECT_TRUE(SameRegisters(dump.groups, c.holds.Texts())) << "case " << c.name;
    }
}

TEST(SimulatedController, StalledAnswersWithoutRecordsAndGarbageComesBetweenThem) {
    ControllerDriver d;
    d.controller.SetStalled(true);
    d.Run(5s);
    EXPECT_EQ(d.Take(), "");
    d.Type("c");
    EXPECT_FALSE(d.Take().empty());
    d.Type(" ");
    d.controller.SetStalled(false);
    d.Run(3s);
    EXPECT_EQ(LiveRecords(d.Take()).size(), 2u);
    d.controller.SetGarbage(true);
    d.Run(20s);
    const std::string out = d.Take();
    EXPECT_EQ(out.find('\0'), std::string::npos);
    std::size_t inRecords = 0;
    std::size_t cleanRecords = 0;
    for (const std::string& r : LiveRecords(out)) {
        inRecords += r.size() + 1;
        cleanRecords += Fields(r).size() == 14 ? 1 : 0;
    }
    EXPECT_GT(out.size(), inRecords + std::size_t{19} * 3); // at least three stray bytes a record
    EXPECT_LT(cleanRecords, 19u); // the noise lands in the records' first field
}
