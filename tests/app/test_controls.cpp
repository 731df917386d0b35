// The animated picture plays without blocking and stops on its frame; the Contact page shows
// version and link; message boxes show what was asked.
#include <QAbstractButton>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTimer>

#include "AppTestSupport.h"
#include "app/QtPrompter.h"
#include "controls/CPictureEx.h"
#include "core/MainWindowView.h"
#include "pages/mD10.h"

namespace orvane {
namespace {

using Contact = test::WindowTest;

TEST(Picture, SpinGoesRoundOnceAndPulseFadesAndReturns) {
    EXPECT_DOUBLE_EQ(SpinAngle(0, 12), 0.0);
    EXPECT_DOUBLE_EQ(SpinAngle(3, 12), 90.0);
    EXPECT_DOUBLE_EQ(SpinAngle(12, 12), 0.0);
    EXPECT_DOUBLE_EQ(SpinAngle(5, 1), 0.0);
    EXPECT_DOUBLE_EQ(PulseOpacity(0, 12), 1.0);
    EXPECT_NEAR(PulseOpacity(6, 12), 0.15, 1e-9);
    EXPECT_GT(PulseOpacity(3, 12), PulseOpacity(6, 12));
    EXPECT_DOUBLE_EQ(PulseOpacity(12, 12), 1.0);
}

TEST(Picture, EveryPictureAskedForLoadsAndOnlyTheAnimatedOnesPlay) {
    const struct {
        int id;
        bool plays;
    } pictures[] = {{kAnimationCommunicating, true},
                    {kAnimationIdle, false},
                    {kAnimationLogging, true},
                    {kAnimationNotLogging, false}, // the logger tells the two apart by this
                    {kPictureContact, true}};
    for (const auto& p : pictures) {
        CPictureEx picture;
        EXPECT_TRUE(picture.Load(p.id)) << "case " << p.id;
        EXPECT_EQ(picture.ResourceId(), p.id);
        EXPECT_TRUE(picture.Draw()) << "case " << p.id;
        EXPECT_EQ(picture.IsPlaying(), p.plays) << "case " << p.id;
    }
    CPictureEx picture;
    EXPECT_FALSE(picture.Load(999));
    EXPECT_FALSE(picture.Draw()); // nothing loaded
    EXPECT_FALSE(picture.IsPlaying());
}

TEST(Picture, PlaysOnTheEventLoopAndStopsOnTheCurrentFrame) {
    CPictureEx picture;
    picture.show();
    ASSERT_TRUE(picture.Load(kAnimationCommunicating));
    ASSERT_TRUE(picture.Draw());
    EXPECT_TRUE(picture.IsPlaying()); // Draw returned at once: nothing waits for frames
    ASSERT_TRUE(QTest::qWaitFor([&] { return picture.Frame() >= 2; }));
    picture.Stop();
    EXPECT_FALSE(picture.IsPlaying());
    const int frame = picture.Frame();
    QTest::qWait(200);
    EXPECT_EQ(picture.Frame(), frame);

    ASSERT_TRUE(picture.Load(kAnimationIdle)); // a new image starts at its first frame
    EXPECT_EQ(picture.Frame(), 0);
    EXPECT_FALSE(picture.IsPlaying());
}

TEST(Picture, PaintsSomethingOfItsImage) {
    CPictureEx picture;
    picture.resize(48, 48);
    picture.Load(kPictureContact);
    const QImage image = picture.grab().toImage();
    int coloured = 0;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            coloured += (c.blue() > c.red() + 40) ? 1 : 0;
        }
    }
    EXPECT_GT(coloured, 48 * 48 / 10);
}

TEST_F(Contact, ShowsTheVersionAndABlueLinkThatOpensTheDownloadPage) {
    const QString text = window->ContactPage()->VersionField()->text();
    const QRegularExpression form(
        "^Software Version 2\\.3\\.1 Compiled on [A-Z][a-z]{2} [ 0-9][0-9] [0-9]{4}, "
        "[0-9]{2}:[0-9]{2}:[0-9]{2}\nThe latest version of the Software \ncan be downloaded "
        "from:$");
    EXPECT_TRUE(form.match(text).hasMatch()) << text.toStdString();

    ClickTab(9);
    QLabel* link = window->ContactPage()->LinkField();
    EXPECT_EQ(link->text(), kDownloadAddress);
    EXPECT_EQ(link->palette().color(QPalette::WindowText), QColor(0x19, 0x19, 0xFF));
    EXPECT_TRUE(link->autoFillBackground());
    EXPECT_EQ(link->cursor().shape(), Qt::PointingHandCursor);
    test::Click(link);
    EXPECT_EQ(opened, std::vector<std::string>{kDownloadAddress});
    EXPECT_TRUE(window->ContactPage()->Picture()->IsPlaying());
    EXPECT_EQ(window->ContactPage()->Picture()->ResourceId(), kPictureContact);
}

struct Seen {
    QString text, caption;
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

TEST(QtPrompter, ShowsTheBoxAsAskedAndReportsTheButtonPressed) {
    QtPrompter prompter;
    Seen seen;
    AnswerNextBox(seen, QMessageBox::Ok);
    EXPECT_EQ(prompter.ShowMessage("Comms <3> went", "Application Error", MessageIcon::Error,
                                   MessageButtons::Ok),
              MessageAnswer::Ok);
    EXPECT_EQ(seen.text, "Comms <3> went");
    EXPECT_EQ(seen.caption, "Application Error");
    EXPECT_EQ(seen.icon, QMessageBox::Critical);
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    for (const auto& [press, answer] :
         {std::pair{QMessageBox::Yes, MessageAnswer::Yes}, {QMessageBox::No, MessageAnswer::No}}) {
        AnswerNextBox(seen, press);
        EXPECT_EQ(
            prompter.ShowMessage("Log?", "Log", MessageIcon::Exclamation, MessageButtons::YesNo),
            answer);
        EXPECT_EQ(seen.icon, QMessageBox::Warning);
        EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    }
}

} // namespace
} // namespace orvane
