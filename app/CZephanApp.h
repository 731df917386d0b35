#pragma once

#include <QApplication>

namespace orvane {

// The application object: names the settings, runs the main window modally and
// ends when it closes.
class CZephanApp final : public QApplication {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CZephanApp)

public:
    CZephanApp(int& argc, char** argv);

    // Runs the main window with its timers every tickMs; returns the exit code.
    int InitInstance(int tickMs = 1000);
    // Renders every tab into dir as PNG files instead of running, once the configuration
    // and the identification text were read from the built-in simulated controller at
    // fast ticks (tickMs, 20 ms at most); the exit code. In a dark desktop palette when
    // darkPalette, at the window's minimum size when minimumSize.
    struct ShotOptions {
        int tickMs = 1000;
        bool darkPalette = false;
        bool minimumSize = false;
    };
    int RenderScreenshots(const QString& dir, ShotOptions shot);
};

} // namespace orvane
