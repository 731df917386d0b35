#pragma once

#include <algorithm>
#include <stdexcept>
#include <string>

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>
#include <gtest/gtest.h>

#include "core/image/RegisterImage.h"
#include "core/rules/DownloadChoices.h"
#include "pages/PageHost.h"
#include "tests/core/SequencerFakes.h"

namespace orvane::test {

// The Start page's remembered download choices, kept in memory.
struct MemoryStore final : ISafeWriteStore {
    SafeWriteChoices LoadSafeWriteChoices() const override { return stored; }
    void StoreSafeWriteChoices(const SafeWriteChoices& choices) override { stored = choices; }
    SafeWriteChoices stored;
};

// Hosts a page without the main window: a real image and sequencer, the window's fields as values.
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
    RegisterImage& Image() override { return rig.image; }
    IImageHistory& History() override { return rig.history; }
    const Sequencer& Sequencing() const override { return rig.seq; }
    Sequencer& Requests() override { return rig.seq; }
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

// Every value label (not a caption), edit box and list exposes what it shows; every input is named.
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
        // A list's text box is read as part of the list, by the list's name.
        EXPECT_TRUE(!edit->accessibleName().isEmpty() ||
                    qobject_cast<QComboBox*>(edit->parentWidget()) != nullptr)
            << "an edit box has no name";
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

// The control a screen reader announces by this name; a missing one fails the test.
template <typename T>
T* Find(QWidget* root, const QString& name) {
    for (T* control : root->findChildren<T*>()) {
        if (control->accessibleName() == name) {
            return control;
        }
    }
    throw std::runtime_error("no control named \"" + name.toStdString() + "\"");
}

// The registers' texts, joined by blanks.
inline std::string Words(const RegisterImage& image, const std::vector<int>& registers) {
    std::string words;
    for (const int r : registers) {
        words += (words.empty() ? "" : " ") + image.Text(r);
    }
    return words;
}

// The registers that differ, as "index=new" in index order: "" when none did.
inline std::string Changes(const RegisterTexts& before, const RegisterTexts& after) {
    std::string changes;
    for (std::size_t i = 0; i < before.size(); ++i) {
        if (before[i] != after[i]) {
            changes += (changes.empty() ? "" : " ") + std::to_string(i) + "=" + after[i];
        }
    }
    return changes;
}

// Opens the list and clicks the item, as a person picks it.
inline void Choose(QComboBox* list, const QString& item) {
    const int index = list->findText(item, Qt::MatchExactly);
    if (index < 0) {
        throw std::runtime_error("no item \"" + item.toStdString() + "\"");
    }
    list->showPopup();
    QAbstractItemView* view = list->view();
    const QRect rect = view->visualRect(list->model()->index(index, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
}

enum class Input { Type, TypeInList, Choose, Click };

// Does to the control named `name` under root what a person does.
inline void Act(QWidget* root, Input input, const QString& name, const QString& text = {}) {
    switch (input) {
    case Input::Type:
        return TypeInto(Find<QLineEdit>(root, name), text);
    case Input::TypeInList:
        return TypeInto(Find<QComboBox>(root, name)->lineEdit(), text);
    case Input::Choose:
        return Choose(Find<QComboBox>(root, name), text);
    case Input::Click:
        return QTest::mouseClick(Find<QCheckBox>(root, name), Qt::LeftButton);
    }
}

// What the controls named show, each followed by "|"; a check box shows "on" or "off".
inline std::string Shown(QWidget* root, std::initializer_list<QString> names) {
    std::string shown;
    for (const QString& name : names) {
        const auto named = [&](const QWidget* control) {
            return control->accessibleName() == name;
        };
        const auto lists = root->findChildren<QComboBox*>();
        const auto edits = root->findChildren<QLineEdit*>();
        if (const auto list = std::ranges::find_if(lists, named); list != lists.end()) {
            shown += (*list)->currentText().toStdString();
        } else if (const auto edit = std::ranges::find_if(edits, named); edit != edits.end()) {
            shown += (*edit)->text().toStdString();
        } else {
            shown += Find<QAbstractButton>(root, name)->isChecked() ? "on" : "off";
        }
        shown += "|";
    }
    return shown;
}

} // namespace orvane::test
