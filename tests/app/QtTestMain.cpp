// Every Qt test runs offscreen, with test-mode standard paths and empty settings.
#include <cstdlib>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include "app/AppSettings.h"

int main(int argc, char** argv) {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    }
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QCoreApplication::setOrganizationName(orvane::AppSettings::kOrganisation);
    QCoreApplication::setApplicationName("orvane-gui-tests");
    QSettings().clear();
    ::testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    QSettings().clear();
    return result;
}
