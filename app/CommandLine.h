#pragma once

#include <QString>
#include <QStringList>

namespace orvane {

// orvane-gui's command line.
struct GuiCommandLine {
    int tickMs = 1000;        // --tick-ms N
    QString screenshotDir;    // --screenshots DIR: render every tab there and exit
    bool darkPalette = false; // --palette dark: the shots in a dark desktop palette
    bool minimumSize = false; // --minimum-size: the shots at the window's minimum size
    bool help = false;
    QString error; // set when the command line is refused
};

// arguments: as QCoreApplication::arguments() gives them, the program first.
GuiCommandLine ParseGuiCommandLine(const QStringList& arguments);

QString GuiUsageText();

} // namespace orvane
