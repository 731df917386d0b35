// The GUI as a user runs it, held in one state for bench/gui-cost.sh to measure from
// /proc: "idle" (not connected), "connected" (connected to a quiet pseudo-terminal),
// "stream" (connected, the far end sends 960 bytes a second one byte at a time),
// "hangup" (streamed for a second, then the far end hangs up: the port fails and is
// disconnected, and its box is left open as an unattended window leaves it),
// "trend" (connected, live data asked for, one new record a second, the trend window
// open on its default window), "trend-day" (the same with 24 hours of records already
// kept and the whole of them shown), "reference" (a plain Qt window with ten tabs, for
// comparison) and "reference-tick" (the same window with one label that shows a new
// number every second, as the tick display must: the least a window that repaints once a
// second can cost). Prints "ready" once the state is reached and runs until it is killed.
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <QComboBox>
#include <QDateTime>
#include <QElapsedTimer>
#include <QLabel>
#include <QSettings>
#include <QTabWidget>
#include <QTimer>

#include "app/CZephanApp.h"
#include "app/CZephanDlg.h"
#include "pages/TrendWindow.h"
#include "sim/LiveRecord.h"

namespace {

constexpr long kStreamRate = 960; // bytes a second: 9600 baud, 8N1
constexpr std::uint64_t kDaySeconds = 24 * 3600;

// The record the controller sends in its second `upTime`: speeds and sensors that wander,
// so that every line of the trend has something to draw.
std::string RecordAt(std::uint64_t upTime) {
    orvane::sim::LiveSample sample;
    for (std::size_t fan = 0; fan < sample.fans.size(); ++fan) {
        const int swing = int((upTime + fan * 97) % 600);
        sample.fans[fan] = {true, false, 900 + swing, 40 + swing / 20};
    }
    sample.sensors = {20.0 + double(upTime % 300) / 30.0, 30.0 - double(upTime % 500) / 50.0};
    sample.switchHigh = {upTime % 120 < 60, upTime % 45 < 5};
    sample.alarms = upTime % 200 < 20 ? "15" : "";
    sample.upTimeSeconds = upTime;
    return orvane::sim::FormatLiveRecord(sample);
}

void Pace(timespec& next) {
    next.tv_nsec += 1000000000L / kStreamRate;
    if (next.tv_nsec >= 1000000000L) {
        next.tv_nsec -= 1000000000L;
        ++next.tv_sec;
    }
    clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
}

// Writes one byte every 1/960 s to `master` from the moment `go` becomes readable until
// the parent dies. A process of its own, so its cost is not counted as the GUI's.
// With `records`, one new live record a second, its bytes at the line's pace; else the
// same record over and over, filling the line, for `bytes` bytes when that is not 0.
[[noreturn]] void PacedWriter(int master, int go, bool records, std::size_t bytes = 0) {
    prctl(PR_SET_PDEATHSIG, SIGKILL);
    char start = 0;
    if (read(go, &start, 1) != 1) {
        _exit(0);
    }
    // A live record's worth of text, so the receive buffer sees what a controller sends.
    const std::string record = "<1200,1200,1500,1500,900,900,0,0,24.5,31.0,0,0,0000,3h02m17s>\r\n";
    timespec next{};
    clock_gettime(CLOCK_MONOTONIC, &next);
    if (!records) {
        for (std::size_t i = 0; bytes == 0 || i < bytes; ++i) {
            Pace(next);
            if (write(master, &record[i % record.size()], 1) != 1) {
                _exit(0);
            }
        }
        _exit(0);
    }
    for (std::uint64_t upTime = kDaySeconds + 1;; ++upTime) {
        timespec second = next;
        ++second.tv_sec;
        for (const char byte : RecordAt(upTime)) {
            Pace(next);
            if (write(master, &byte, 1) != 1) {
                _exit(0);
            }
        }
        next = second;
        clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &next, nullptr);
    }
}

// A day of records kept before the window is shown, the newest a second ago; each text
// holds the record before, since the text before the first terminator is never one.
void FillDay(orvane::TrendWindow& trend) {
    const std::int64_t now = QDateTime::currentMSecsSinceEpoch();
    for (std::uint64_t upTime = 1; upTime <= kDaySeconds; ++upTime) {
        trend.OnMainTick(RecordAt(upTime - 1) + RecordAt(upTime),
                         now - std::int64_t(kDaySeconds - upTime + 1) * 1000);
    }
}

int Fail(const char* what) {
    std::fprintf(stderr, "gui_cost_host: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string scenario = argc > 1 ? argv[1] : "";
    if (scenario != "idle" && scenario != "connected" && scenario != "stream" &&
        scenario != "hangup" && scenario != "trend" && scenario != "trend-day" &&
        scenario != "reference" && scenario != "reference-tick") {
        return Fail("usage: gui_cost_host "
                    "idle|connected|stream|hangup|trend|trend-day|reference|reference-tick");
    }
    const bool trend = scenario.starts_with("trend");
    const bool hangUp = scenario == "hangup";
    const bool connect = scenario == "connected" || scenario == "stream" || hangUp || trend;

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
        if ((scenario == "stream" || hangUp || trend) && fork() == 0) {
            close(go[1]);
            PacedWriter(master, go[0], trend, hangUp ? kStreamRate : 0);
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
        if (trend) {
            if (scenario == "trend-day") {
                FillDay(*dialog.Trend());
                dialog.Trend()->WindowList()->setCurrentText("all");
            }
            dialog.Requests().RequestLiveData();
            dialog.Trend()->Open();
            dialog.Trend()->repaint(); // the first drawing of a day is not what is measured
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
