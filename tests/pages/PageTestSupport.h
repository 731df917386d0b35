#pragma once

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

#include "pages/PageHost.h"
#include "tests/core/SequencerFakes.h"

namespace orvane::test {

// Hosts a page without the main window: a real register image (the template
// loaded) and a real sequencer over recording fakes, with the main window's
// fields kept as plain values a test reads.
class FakePageHost final : public IPageHost, public IMainWindowFields {
public:
    explicit FakePageHost(int activeTab) : activeTab(activeTab) {}

    int ActiveTab() const override { return activeTab; }
    std::string RefreshFlag(int tabNumber) const override {
        return refreshFlags.at(static_cast<std::size_t>(tabNumber - kTabStart));
    }
    void SetRefreshFlag(int tabNumber, const std::string& flag) override {
        refreshFlags.at(static_cast<std::size_t>(tabNumber - kTabStart)) = flag;
    }
    IPrompter& Prompter() override { return rig.prompter; }
    void OpenWithDesktop(const std::string& target) override { opened.push_back(target); }
    CRegisterImage& Image() override { return rig.image; }
    CSequencer& Sequencer() override { return rig.seq; }
    int TickIntervalMs() const override { return 1000; }

    void SetNote(const std::string& text) override { note = text; }
    void SetMainButtonsEnabled(bool enabled) override { mainButtonsEnabled = enabled; }
    void ShowMode(const std::string& text) override { mode = text; }
    bool ProfileStored() const override { return profileStored; }
    void SetProfileStored(bool stored) override { profileStored = stored; }
    bool SyncingSeen() const override { return syncingSeen; }
    void SetSyncingSeen(bool seen) override { syncingSeen = seen; }
    void ShowChecksum(const std::string& text) override { checksum = text; }

    // As the main window does on a tab change: every page reloads when next shown.
    void SelectTab(int tabNumber) {
        activeTab = tabNumber;
        refreshFlags.fill("0");
    }

    SequencerRig rig;
    int activeTab;
    std::array<std::string, 8> refreshFlags{"0", "0", "0", "0", "0", "0", "0", "0"};
    std::vector<std::string> opened;
    std::string note = " ", mode = "1", checksum;
    bool mainButtonsEnabled = true, profileStored = true, syncingSeen = false;
};

// Replaces the text of an edit box as a person would: select all, type.
inline void TypeInto(QLineEdit* edit, const QString& text) {
    edit->setFocus();
    edit->selectAll();
    if (text.isEmpty()) {
        QTest::keyClick(edit, Qt::Key_Delete);
    } else {
        QTest::keyClicks(edit, text);
    }
}

// Every label that shows a value (one that is not a caption: its text is not its
// accessible name) and every edit box and list under root exposes what it shows
// as its accessible description, and every input has an accessible name.
inline void ExpectReadable(QWidget* root) {
    for (auto* label : root->findChildren<QLabel*>()) {
        const bool caption = label->text() == label->accessibleName() || label->buddy() != nullptr;
        if (!caption && label->pixmap().isNull()) {
            EXPECT_EQ(label->accessibleDescription().toStdString(), label->text().toStdString())
                << "label " << label->accessibleName().toStdString();
        }
    }
    for (auto* edit : root->findChildren<QLineEdit*>()) {
        EXPECT_EQ(edit->accessibleDescription().toStdString(), edit->text().toStdString())
            << "edit " << edit->accessibleName().toStdString();
        EXPECT_FALSE(edit->accessibleName().isEmpty()) << "an edit box has no name";
    }
    for (auto* combo : root->findChildren<QComboBox*>()) {
        EXPECT_EQ(combo->accessibleDescription().toStdString(), combo->currentText().toStdString())
            << "list " << combo->accessibleName().toStdString();
        EXPECT_FALSE(combo->accessibleName().isEmpty()) << "a list has no name";
    }
    for (auto* edit : root->findChildren<QPlainTextEdit*>()) {
        EXPECT_EQ(edit->accessibleDescription().toStdString(), edit->toPlainText().toStdString());
    }
    for (auto* edit : root->findChildren<QTextEdit*>()) {
        EXPECT_EQ(edit->accessibleDescription().toStdString(), edit->toPlainText().toStdString());
    }
    for (auto* button : root->findChildren<QAbstractButton*>()) {
        EXPECT_FALSE(button->accessibleName().isEmpty())
            << "button " << button->text().toStdString() << " has no name";
    }
}

} // namespace orvane::test
