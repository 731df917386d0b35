#include <cstdio>

#include <QStringList>

#include "app/CZephanApp.h"
#include "app/CommandLine.h"

int main(int argc, char** argv) {
    orvane::CZephanApp app(argc, argv);
    const orvane::GuiCommandLine line = orvane::ParseGuiCommandLine(app.arguments());
    if (!line.error.isEmpty()) {
        std::fprintf(stderr, "orvane-gui: %s\n%s", qPrintable(line.error),
                     qPrintable(orvane::GuiUsageText()));
        return 1;
    }
    if (line.help) {
        std::fputs(qPrintable(orvane::GuiUsageText()), stdout);
        return 0;
    }
    if (!line.screenshotDir.isEmpty()) {
        return app.RenderScreenshots(line.screenshotDir,
                                     {line.tickMs, line.darkPalette, line.minimumSize});
    }
    return app.InitInstance(line.tickMs);
}
