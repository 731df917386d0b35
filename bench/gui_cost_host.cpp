// The GUI as a user runs it, held in one state for bench/gui-cost.sh to measure from
// /proc: "idle" (not connected), "connected" (connected to a quiet pseudo-terminal),
// "stream" (connected, the far end sends 960 bytes a second one byte at a time),
// "hangup" (streamed for a second, then the far end hangs up: the port fails and is
// disconnected, and its box is left open as an unattended window leaves it),
// "reference" (a plain Qt window with ten tabs, for comparison) and "reference-tick" (the
// same window with one label that shows a new number every second, as the tick display
// must: the least a window that repaints once a second can cost). Prints "ready" once the
// state is reached and runs until it is killed.
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QLabel>
#include <QSettings>
#include <QTabWidget>
#include <QTimer>

#include "app/CZephanApp.h"
#include "app/CZephanDlg.h"

namespace {

constexpr long kStreamRate = 960; // bytes a second: 9600 baud, 8N1

// Writes one byte every 1/960 s to `master` from the moment `go` becomes readable until
// the parent dies, or for `bytes` bytes when that is not 0. A process of its own, so its
// cost is not counted as the GUI's.
[[noreturn]] void PacedWriter(int master, int go, std::size_t bytes) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    char start = 0;
    if (read(go, &start, 1) != 1) {
        _exit(0);
    }
    // A live record's worth of text, so the receive buffer sees what a controller sends.
    const std::string record = "<1200,1200,1500,1500,900,900,0,0,24.5,31.0,0,0,0000,3h02m17s>\r\n";
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    for (std::size_t i = 0; bytes == 0 || i < bytes; ++i) {
        next.tv_nsec += 1000000000L / kStreamRate;
        if (next.tv_nsec >= 1000000000L) {
            next.tv_nsec -= 1000000000L;
            ++next.tv_sec;
        }
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
        if (write(master, &record[i % record.size()], 1) != 1) {
            _exit(0);
        }
    }
    _exit(0);
}

int Fail(const char* what) {
    std::fprintf(stderr, "gui_cost_host: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string scenario = argc > 1 ? argv[1] : "";
    if (scenario != "idle" && scenario != "connected" && scenario != "stream" &&
        scenario != "hangup" && scenario != "reference" && scenario != "reference-tick") {
        return Fail("usage: gui_cost_host idle|connected|stream|hangup|reference|reference-tick");
    }
    const bool hangUp = scenario == "hangup";
    const bool connect = scenario == "connected" || scenario == "stream" || hangUp;

    // The pseudo-terminal and the writer exist before Qt starts any thread.
    int master = -1;
    int go[2] = {-1, -1};
    std::string slave;
    if (connect) {
        master = posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
        if (master < 0 || grantpt(master) != 0 || unlockpt(master) != 0 || pipe(go) != 0) {
            return Fail("no pseudo-terminal");
        }
        slave = ptsname(master);
        if ((scenario == "stream" || hangUp) && fork() == 0) {
            close(go[1]);
            PacedWriter(master, go[0], hangUp ? kStreamRate : 0);
        }
    }

    orvane::CZephanApp app(argc, argv);
    if (scenario.starts_with("reference")) {
        QTabWidget tabs;
        for (int i = 0; i < 10; ++i) {
            tabs.addTab(new QLabel(QString("Page %1").arg(i + 1)), QString("Tab %1").arg(i + 1));
        }
        // A small field, as the tick display is; set before the window is shown, so it is
        // shown with it.
        auto* counter = new QLabel("10");
        counter->setAccessibleName("Tick");
        counter->setFixedSize(60, 20);
        tabs.setCornerWidget(counter);
        tabs.resize(1100, 720);
        tabs.show();
        QTimer tick;
        int ticks = 10;
        QObject::connect(&tick, &QTimer::timeout, [&] { counter->setNum(++ticks); });
        if (scenario == "reference-tick") {
            tick.start(1000);
        }
        std::printf("ready\n");
        std::fflush(stdout);
        return app.exec();
    }

    QSettings().clear(); // the script gives each run a settings folder of its own
    if (connect) {
        QSettings().setValue("Ports/ExtraDevices", QString::fromStdString(slave));
    }
    orvane::CZephanDlg dialog;
    dialog.show();
    if (connect) {
        orvane::CComPortCombo* ports = dialog.CommsPage()->PortList();
        ports->setCurrentIndex(
            ports->findText("Serial device " + QString::fromStdString(slave), Qt::MatchStartsWith));
        dialog.CommsPage()->ConnectButton()->click();
        QElapsedTimer waited;
        waited.start();
        while (!dialog.IsConnected() && waited.elapsed() < 10000) {
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 100);
        }
        if (!dialog.IsConnected()) {
            return Fail("could not connect to the pseudo-terminal");
        }
        if (write(go[1], "g", 1) != 1) {
            return Fail("writer gone");
        }
    }
    QTimer hungUp;
    if (hangUp) {
        // The writer's end is then the last: the line hangs up when it is done. Watched
        // from a timer, as the failure's box runs an event loop of its own.
        close(master);
        QObject::connect(&hungUp, &QTimer::timeout, [&] {
            if (!dialog.IsConnected()) {
                hungUp.stop();
                std::printf("ready\n");
                std::fflush(stdout);
            }
        });
        hungUp.start(100);
    } else {
        std::printf("ready\n");
        std::fflush(stdout);
    }
    return app.exec();
}
