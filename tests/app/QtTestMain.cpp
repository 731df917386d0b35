// Every Qt test runs offscreen, with test-mode standard paths and settings of its own.
#include <cstdlib>

#include <QApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "app/AppSettings.h"
#include "controls/AccessibleComboBox.h"

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0); // unless the caller chose a platform
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    orvane::InstallAccessibleComboBox(); // as the application does
    // CTest runs test processes side by side: each gets a settings folder of its own.
    QTemporaryDir settingsDir;
    if (!settingsDir.isValid()) {
        return 1;
    }
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, settingsDir.path());
    QCoreApplication::setOrganizationName(orvane::AppSettings::kOrganisation);
    QCoreApplication::setApplicationName("orvane-gui-tests");
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
