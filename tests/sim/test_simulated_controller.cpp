// The controller answers every keystroke of its menu as the host relies on, on the host's own
// timing, and keeps or refuses configurations by their checksum.
#include <gtest/gtest.h>

#include <cctype>

#include "ControllerDriver.h"
#include "HostReading.h"
#include "core/ConfigurationText.h"
#include "core/RegisterImage.h"
#include "sim/ControllerTexts.h"

using namespace orvane;
using namespace orvane::sim;
using namespace orvane::sim::testing;

namespace {

CRegisterImage DefaultTemplate() {
    CRegisterImage image;
    image.LoadDefaultTemplate();
    return image;
}

// An image that differs from the template: another name, fan 2 unused, a new issue.
CRegisterImage ChangedImage() {
    CRegisterImage image = DefaultTemplate();
    image.SetValue(186, 'F');
    image.SetValue(187, 'A');
    image.SetValue(188, 'N');
    image.SetValue(189, 0);
    image.SetValue(1, 0);
    image.SetValue(211, 7);
    return image;
}

bool SameRegisters(const CRegisterImage& a, const CRegisterImage& b) {
    for (int i = 0; i < kRegisterCount; ++i) {
        if (a.Text(i) != b.Text(i)) {
            return false;
        }
    }
    return true;
}

// The host's read: "c", "s" eight seconds later, "s" again two seconds after that.
std::string ReadConfigurationAsHost(ControllerDriver& d) {
    d.Type("c");
    d.Run(8s);
    d.Type("s");
    d.Run(2s);
    d.Take();
    d.Type("s");
    d.Run(10s);
    return d.Take();
}

// The host's write: "c", "r" eight seconds later, the text two seconds after that.
std::string WriteConfigurationAsHost(ControllerDriver& d, const std::string& text) {
    d.Type("c");
    d.Run(8s);
    d.Type("r");
    d.Run(2s);
    d.Take();
    d.Type(text);
    d.Run(1s);
    return d.Take();
}

std::string TextOf(CRegisterImage image) {
    return BuildConfigurationText(image).text;
}

} // namespace

TEST(SimulatedControllerRecords, OneRecordPerSecondWithUpTimeAdvancing) {
    ControllerDriver d;
    d.Run(10s);
    const std::string out = d.Take();
    const auto records = LiveRecords(out);
    ASSERT_EQ(records.size(), 9u) << out; // ten terminators, nine records between them
    for (std::size_t i = 1; i < records.size(); ++i) {
        EXPECT_EQ(UpTime(records[i]), UpTime(records[i - 1]) + 1) << records[i];
    }
    EXPECT_EQ(UpTime(records.back()), 10);
}

TEST(SimulatedControllerRecords, LongPauseResumesInsteadOfCatchingUp) {
    ControllerDriver d;
    d.Run(1h);
    const auto records = LiveRecords(d.Take());
    EXPECT_LT(records.size(), 70u);
    d.Run(2s);
    const auto after = LiveRecords(d.Take());
    ASSERT_FALSE(after.empty());
    EXPECT_EQ(UpTime(after.back()), 3602);
}

TEST(SimulatedControllerMenu, MenuKeyStopsRecordsAndSpaceResumesThem) {
    ControllerDriver d;
    d.Run(3s);
    d.Take();
    d.Type("c");
    const std::string menu = d.Take();
    EXPECT_NE(menu.find("MENU"), std::string::npos);
    EXPECT_EQ(menu.find('<'), std::string::npos);
    EXPECT_EQ(menu.find("ORV"), std::string::npos);
    d.Run(5s);
    EXPECT_TRUE(LiveRecords(d.Take()).empty());
    EXPECT_EQ(d.controller.CurrentMode(), SimulatedController::Mode::Menu);

    d.Type(" ");
    d.Run(3s);
    const auto records = LiveRecords(d.Take() + "");
    ASSERT_FALSE(records.empty());
    EXPECT_EQ(UpTime(records.back()), 11); // the up time ran on in the menu
}

TEST(SimulatedControllerMenu, ForgottenMenuReturnsToRecords) {
    ControllerDriver d;
    d.Type("c");
    d.Run(59s);
    EXPECT_EQ(d.controller.CurrentMode(), SimulatedController::Mode::Menu);
    d.Run(3s);
    EXPECT_EQ(d.controller.CurrentMode(), SimulatedController::Mode::LiveRecords);
}

TEST(SimulatedControllerRead, TwoShowKeysOnHostTimingGiveAParsableDump) {
    ControllerDriver d;
    d.Run(5s);
    const std::string reply = ReadConfigurationAsHost(d);
    const auto parsed = ParseConfigurationReply(reply);
    ASSERT_TRUE(parsed) << reply;
    EXPECT_TRUE(parsed->checksumHolds);
    const CRegisterImage expected = DefaultTemplate();
    for (int i = 0; i < kRegisterCount; ++i) {
        EXPECT_EQ(parsed->groups[static_cast<std::size_t>(i)], expected.Text(i)) << i;
    }
    // "<" and a carriage return, line breaks between some groups, "> END" at the end.
    const auto start = reply.find('<');
    EXPECT_EQ(reply.substr(start, 2), "<\r");
    EXPECT_NE(reply.find("\r\n", start + 2), std::string::npos);
    EXPECT_NE(reply.find(parsed->groups[400] + "> END"), std::string::npos);
    // The dump and what precedes it fit the host's 1800-byte window.
    EXPECT_LT(reply.size(), 1800u);
}

TEST(SimulatedControllerRead, OneShowKeyIsNotEnough) {
    ControllerDriver d;
    d.Type("c");
    d.Type("s");
    d.Run(10s);
    EXPECT_EQ(d.Take().find('<'), std::string::npos);
    d.Type("x");
    d.Type("s");
    d.Run(2s);
    EXPECT_EQ(d.Take().find('<'), std::string::npos); // another key in between disarms
}

TEST(SimulatedControllerWrite, TextWithRightChecksumReplacesTheConfiguration) {
    ControllerDriver d;
    const CRegisterImage changed = ChangedImage();
    const std::string answer = WriteConfigurationAsHost(d, TextOf(changed));
    EXPECT_NE(answer.find("accepted"), std::string::npos) << answer;
    EXPECT_TRUE(SameRegisters(d.controller.Configuration(), changed));
    EXPECT_EQ(d.controller.ConfigurationChanges(), 1u);

    // And the next read gives it back.
    d.Type(" ");
    const auto parsed = ParseConfigurationReply(ReadConfigurationAsHost(d));
    ASSERT_TRUE(parsed);
    EXPECT_TRUE(parsed->checksumHolds);
    EXPECT_EQ(parsed->groups[186], "0046");
    EXPECT_EQ(parsed->groups[1], "0000");
}

TEST(SimulatedControllerWrite, WrongChecksumIsRefusedAndTheOldConfigurationKept) {
    ControllerDriver d;
    std::string text = TextOf(ChangedImage());
    text[1602] = text[1602] == '0' ? '1' : '0'; // first checksum digit
    const std::string answer = WriteConfigurationAsHost(d, text);
    EXPECT_NE(answer.find("refused"), std::string::npos) << answer;
    EXPECT_TRUE(SameRegisters(d.controller.Configuration(), DefaultTemplate()));
    EXPECT_EQ(d.controller.ConfigurationChanges(), 0u);
}

TEST(SimulatedControllerWrite, CorruptedRegisterIsRefused) {
    ControllerDriver d;
    std::string text = TextOf(ChangedImage());
    text[2 + 4 * 50] = 'G'; // a register that is no hexadecimal word
    const std::string answer = WriteConfigurationAsHost(d, text);
    EXPECT_NE(answer.find("refused"), std::string::npos) << answer;
    EXPECT_TRUE(SameRegisters(d.controller.Configuration(), DefaultTemplate()));
}

TEST(SimulatedControllerWrite, UnfinishedTextIsRefusedAfterATimeOut) {
    ControllerDriver d;
    const std::string text = TextOf(ChangedImage());
    WriteConfigurationAsHost(d, text.substr(0, 900));
    EXPECT_EQ(d.controller.CurrentMode(), SimulatedController::Mode::TakingConfiguration);
    d.Run(30s);
    EXPECT_NE(d.Take().find("refused"), std::string::npos);
    EXPECT_TRUE(SameRegisters(d.controller.Configuration(), DefaultTemplate()));
    d.Type(" ");
    d.Run(3s);
    EXPECT_FALSE(LiveRecords(d.Take()).empty());
}

TEST(SimulatedControllerWrite, BytesBeforeTheTextAndSplitDeliveryDoNotMatter) {
    ControllerDriver d;
    const CRegisterImage changed = ChangedImage();
    const std::string text = TextOf(changed);
    d.Type("c");
    d.Type("r");
    d.Type("\r\n"); // stray line end before the "<"
    for (std::size_t i = 0; i < text.size(); i += 97) {
        d.Type(text.substr(i, 97));
        d.Run(100ms);
    }
    EXPECT_TRUE(SameRegisters(d.controller.Configuration(), changed));
}

TEST(SimulatedControllerWrite, LowerCaseDigitsAreTakenAsTheWordsTheySpell) {
    ControllerDriver d;
    const CRegisterImage changed = ChangedImage();
    std::string text = TextOf(changed);
    for (std::size_t i = 2; i < 1606; ++i) {
        text[i] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[i])));
    }
    EXPECT_NE(WriteConfigurationAsHost(d, text).find("accepted"), std::string::npos);
    EXPECT_TRUE(SameRegisters(d.controller.Configuration(), changed)); // stored upper-case
}

TEST(SimulatedControllerConfiguration, StoresWordsSoItsDumpAlwaysParses) {
    ControllerDriver d;
    RegisterTexts texts = DefaultTemplate().Texts();
    texts[5] = "00a1";
    texts[6] = "zz";
    texts[7] = "";
    texts[kChecksumIndex] = "what";
    d.controller.SetConfiguration(texts);
    EXPECT_EQ(d.controller.Configuration().Text(5), "00A1");
    EXPECT_EQ(d.controller.Configuration().Text(6), "0000");
    EXPECT_EQ(d.controller.Configuration().Text(7), "0000");
    const auto dump = ParseConfigurationReply(ReadConfigurationAsHost(d));
    ASSERT_TRUE(dump);
    EXPECT_TRUE(dump->checksumHolds);
    EXPECT_EQ(dump->groups[5], "00A1");
}

TEST(SimulatedControllerDefaults, RestoreGivesTheDefaultTemplate) {
    ControllerDriver d;
    WriteConfigurationAsHost(d, TextOf(ChangedImage()));
    ASSERT_FALSE(SameRegisters(d.controller.Configuration(), DefaultTemplate()));
    d.Type(" ");
    d.Type("c");
    d.Run(8s);
    d.Type("x");
    EXPECT_TRUE(SameRegisters(d.controller.Configuration(), DefaultTemplate()));
    EXPECT_EQ(d.controller.Configuration().Text(kChecksumIndex),
              ParseConfigurationReply(ReadConfigurationAsHost(d))->groups[400]);
}

TEST(SimulatedControllerRestart, SilenceThenIdentificationThenRecordsFromUpTimeOne) {
    ControllerDriver d;
    WriteConfigurationAsHost(d, TextOf(ChangedImage()));
    d.Type(" ");
    d.Run(20s);
    d.Type("c");
    d.Run(8s);
    d.Take();
    d.Type("z");
    d.Take(); // the restart notice
    d.Run(1s);
    EXPECT_EQ(d.Take(), ""); // a short silence
    d.Type("c");             // a booting controller hears nothing
    d.Run(4s);
    const std::string boot = d.Take();
    const auto orv = boot.find("ORV");
    ASSERT_EQ(orv, 0u) << boot;
    const auto firstTerminator = boot.find("s,\r");
    ASSERT_NE(firstTerminator, std::string::npos);
    EXPECT_GE(firstTerminator - orv, 240u);
    // The host shows at most 267 characters from "ORV" on; the text fits them whole.
    EXPECT_GE(IdentificationText().size(), 240u);
    EXPECT_LE(IdentificationText().size(), 267u);
    EXPECT_EQ(boot.find(IdentificationText()), 0u);
    const auto records = LiveRecords(boot);
    ASSERT_FALSE(records.empty());
    EXPECT_LE(UpTime(records.front()), 3);
    EXPECT_TRUE(SameRegisters(d.controller.Configuration(), ChangedImage()));
}

TEST(SimulatedControllerFaults, StalledSendsNoRecordsButStillAnswers) {
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
}

TEST(SimulatedControllerFaults, GarbageComesBetweenRecordsWithoutNul) {
    ControllerDriver d;
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
    EXPECT_GT(out.size(), inRecords + 19 * 3); // at least three stray bytes a record
    EXPECT_LT(cleanRecords, 19u);              // the noise lands in the records' first field
}
