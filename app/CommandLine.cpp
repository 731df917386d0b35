#include "app/CommandLine.h"

#include "app/CZephanDlg.h"

namespace orvane {

GuiCommandLine ParseGuiCommandLine(const QStringList& arguments) {
    GuiCommandLine line;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& arg = arguments.at(i);
        const bool hasValue = i + 1 < arguments.size();
        if (arg == "--help" || arg == "-h") {
            line.help = true;
        } else if (arg == "--tick-ms") {
            bool ok = false;
            const int ms = hasValue ? arguments.at(i + 1).toInt(&ok) : 0;
            if (!ok || ms < kFastestTickMs || ms > kNormalTickMs) {
                line.error = "--tick-ms needs a whole number from 5 to 1000";
                return line;
            }
            line.tickMs = ms;
            ++i;
        } else if (arg == "--screenshots") {
            if (!hasValue) {
                line.error = "--screenshots needs a folder";
                return line;
            }
            line.screenshotDir = arguments.at(++i);
        } else if (arg == "--palette") {
            const QString name = hasValue ? arguments.at(i + 1) : QString();
            if (name != "light" && name != "dark") {
                line.error = "--palette needs light or dark";
                return line;
            }
            line.darkPalette = name == "dark";
            ++i;
        } else if (arg == "--minimum-size") {
            line.minimumSize = true;
        } else {
            line.error = "unknown argument " + arg;
            return line;
        }
    }
    return line;
}

QString GuiUsageText() {
    return "Usage: orvane-gui [--tick-ms N] [--screenshots DIR [--palette light|dark]\n"
           "                  [--minimum-size]]\n"
           "  --tick-ms N        every timer ticks each N ms (5 to 1000, default 1000) and\n"
           "                     the built-in simulated controller runs as much faster;\n"
           "                     for simulated controllers only: a real controller keeps\n"
           "                     its own pace and needs the normal tick\n"
           "  --screenshots DIR  render every tab into DIR as PNG files and exit\n"
           "  --palette P        the shots in the desktop's light palette (default) or a\n"
           "                     dark one\n"
           "  --minimum-size     the shots at the window's minimum size, not 1280x800\n"
           "  --help             this text\n";
}

} // namespace orvane
