// The Qt prompter shows the exact text, caption, icon and buttons, and reports the button pressed.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <gtest/gtest.h>

#include "app/QtPrompter.h"

namespace orvane {
namespace {

struct Seen {
    QString text;
    QString caption;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Once the box is open, notes what it shows and presses one of its buttons.
void AnswerNextBox(Seen& seen, QMessageBox::StandardButton press) {
    QTimer::singleShot(0, [&seen, press] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->text(), box->windowTitle(), box->icon(), box->standardButtons()};
        box->button(press)->click();
    });
}

TEST(QtPrompter, ShowsAnOkBoxWithItsCaptionAndIcon) {
    QtPrompter prompter;
    Seen seen;
    AnswerNextBox(seen, QMessageBox::Ok);
    const auto answer = prompter.ShowMessage("Comms <3> went", "Application Error",
                                             MessageIcon::Error, MessageButtons::Ok);
    EXPECT_EQ(answer, MessageAnswer::Ok);
    EXPECT_EQ(seen.text, "Comms <3> went");
    EXPECT_EQ(seen.caption, "Application Error");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
}

TEST(QtPrompter, AQuestionHasYesAndNoAndReportsWhichWasPressed) {
    QtPrompter prompter;
    for (const auto& [press, expected] :
         {std::pair{QMessageBox::Yes, MessageAnswer::Yes}, {QMessageBox::No, MessageAnswer::No}}) {
        Seen seen;
        AnswerNextBox(seen, press);
        EXPECT_EQ(prompter.ShowMessage("Do you want to create a log file?",
                                       "Log data enabled in config file!", MessageIcon::Exclamation,
                                       MessageButtons::YesNo),
                  expected);
        EXPECT_EQ(seen.icon, QMessageBox::Warning);
        EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    }
}

} // namespace
} // namespace orvane
