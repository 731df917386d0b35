// The GUI as a user runs it on the Indicator tab, for bench/gui_indicator_cpu.sh to measure
// from /proc: connected to the built-in simulated controller at its real pace, with alarm
// outputs 1 to 4 and both power relays raised (six lamps blinking) and either all four fans
// running ("running") or fan 2 failed ("failed-fan": its LED blinks and alternates); or, for
// comparison, the same connection left on the "Comms" tab ("comms-tab"). Prints "ready" once
// the panel shows live data (or, on the Comms tab, once bytes arrive) and runs until killed.
#include <cstdio>
#include <string>

#include <QSettings>
#include <QTimer>

#include "app/CZephanApp.h"
#include "app/CZephanDlg.h"
#include "app/SimulatorPort.h"
#include "core/image/RegisterLayout.h"
#include "pages/mD9.h"

namespace {

constexpr int kIndicatorIndex = 8;

// The template with every alarm raised by switch input 1 standing low, and the relay board.
orvane::RegisterTexts AlarmingConfiguration() {
    orvane::RegisterImage image;
    image.LoadDefaultTemplate();
    for (int alarm = 1; alarm <= orvane::reg::kAlarmCount; ++alarm) {
        image.SetValue(orvane::reg::AlarmSwitchInput(alarm, 1), 0);
    }
    image.SetOptionBit(orvane::reg::kPowerRelayBit, true);
    return image.Texts();
}

int Fail(const char* what) {
    std::fprintf(stderr, "gui_indicator_host: %s\n", what);
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    const std::string scenario = argc > 1 ? argv[1] : "";
    const bool onIndicator = scenario == "running" || scenario == "failed-fan";
    if (!onIndicator && scenario != "comms-tab") {
        return Fail("usage: gui_indicator_host running|failed-fan|comms-tab");
    }
    orvane::CZephanApp app(argc, argv);
    QSettings().clear(); // the script gives each run a settings folder of its own

    orvane::DlgOptions options = orvane::OptionsForTick(orvane::kNormalTickMs);
    options.simulator.configuration = AlarmingConfiguration();
    options.simulator.faults.fanFailed[1] = scenario == "failed-fan";
    orvane::CZephanDlg dialog(options);
    dialog.resize(1280, 800);
    dialog.show();
    dialog.Image().SetOptionBit(orvane::reg::kPowerRelayBit, true);

    orvane::CComPortCombo* ports = dialog.CommsPage()->PortList();
    ports->setCurrentIndex(
        ports->findText(orvane::SimulatorPort::kDescription, Qt::MatchStartsWith));
    if (ports->currentIndex() < 0) {
        return Fail("no simulated controller in the port list");
    }
    dialog.CommsPage()->ConnectButton()->click();
    if (onIndicator) {
        dialog.Tabs()->setCurrentIndex(kIndicatorIndex);
    }

    // Ready once the panel runs: a controller up time shown and the lamps blinking.
    auto* page = static_cast<orvane::mD9*>(dialog.Page(kIndicatorIndex));
    QTimer watch;
    int waited = 0;
    QObject::connect(&watch, &QTimer::timeout, [&] {
        const bool live = onIndicator ? page->UpTimeField()->text() != "0s" &&
                                            page->Lamp(6)->IsAnimating() &&
                                            page->Fan(1).picture->IsAnimating()
                                      : dialog.Sequencing().Received().Count() > 0;
        if (live) {
            watch.stop();
            std::printf("ready\n");
            std::fflush(stdout);
        } else if (++waited > 300) {
            std::fprintf(stderr, "gui_indicator_host: no live data after 30 s\n");
            app.exit(1);
        }
    });
    watch.start(100);
    return app.exec();
}
