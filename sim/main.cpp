// orvane-sim: a simulated controller on a pseudo-terminal or a serial device.
#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>
#include <vector>

#include <pthread.h>

#include "sim/ConfigStore.h"
#include "sim/SimOptions.h"
#include "sim/SimulatorHost.h"

using namespace orvane;
using namespace orvane::sim;

int main(int argc, char** argv) {
    const CommandLine line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (line.help) {
        std::cout << UsageText();
        return 0;
    }
    if (!line.error.empty()) {
        std::cerr << "orvane-sim: " << line.error << "\n\n" << UsageText();
        return 2;
    }

    SimulatorOptions options = line.simulator;
    if (!line.configFile.empty()) {
        const StoredConfiguration stored = LoadConfiguration(line.configFile);
        if (stored.texts) {
            options.configuration = stored.texts;
        } else if (!stored.missing) {
            std::cerr << "orvane-sim: " << line.configFile << " not used (" << stored.problem
                      << "); starting from the defaults\n";
        }
        options.configurationChanged = [path = line.configFile](const CRegisterImage& config) {
            const std::string error = SaveConfiguration(path, config);
            if (!error.empty()) {
                std::cerr << "orvane-sim: cannot save " << path << ": " << error << "\n";
            }
        };
    }

    // Blocked here, so that the simulator's thread inherits the mask and sigtimedwait
    // below is the only taker.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    SimulatorHost host;
    const StartResult started = host.Start(options);
    if (!started.ok) {
        std::cerr << "orvane-sim: " << started.error << "\n";
        return 1;
    }
    std::cout << started.path << std::endl;

    // Wakes now and then to notice a device that failed on its own.
    const timespec poll{0, 250'000'000};
    while (host.IsRunning()) {
        if (sigtimedwait(&stopSignals, nullptr, &poll) >= 0) {
            break;
        }
    }
    const std::string error = host.LastError();
    host.Stop();
    if (!error.empty()) {
        std::cerr << "orvane-sim: " << error << "\n";
        return 1;
    }
    return 0;
}
