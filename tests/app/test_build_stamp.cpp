// The "Compiled on" stamp tells when the executable was built: never before the newest
// library it was linked from, never after the executable itself.
#include <QCoreApplication>
#include <QDateTime>
#include <QFileInfo>
#include <gtest/gtest.h>

#include "app/VersionText.h"

namespace orvane::test {
namespace {

TEST(BuildStamp, LiesBetweenTheNewestLibraryAndTheExecutable) {
    const BuildStamp stamp = ExecutableBuildStamp();
    // The compiler's form pads a one-digit day with a blank: "Dec  7 2026".
    const QString text = QString("%1 %2").arg(stamp.date, stamp.time).simplified();
    const QDateTime built = QDateTime::fromString(text, "MMM d yyyy hh:mm:ss");
    ASSERT_TRUE(built.isValid()) << text.toStdString();
    EXPECT_EQ(VersionText().rfind(std::string("Software Version 2.3.1 Compiled on ") + stamp.date +
                                      ", " + stamp.time + "\n",
                                  0),
              0u);

    // The stamp has whole seconds, so a second's grace either way.
    for (const QString& library : QString(ORVANE_BUILT_FROM).split('|')) {
        const QDateTime changed = QFileInfo(library).lastModified();
        ASSERT_TRUE(changed.isValid()) << library.toStdString();
        EXPECT_LE(built.secsTo(changed), 1) << library.toStdString() << " is newer than the stamp";
    }
    const QDateTime linked = QFileInfo(QCoreApplication::applicationFilePath()).lastModified();
    EXPECT_LE(linked.secsTo(built), 1) << "stamped after the executable was linked";
}

} // namespace
} // namespace orvane::test
