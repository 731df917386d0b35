// orvane-sim: a simulated controller on a pseudo-terminal or a serial device.
#include <cerrno>
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include <poll.h>
#include <pthread.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include "sim/ConfigStore.h"
#include "sim/RuntimeCommands.h"
#include "sim/SimOptions.h"
#include "sim/SimulatorHost.h"

using namespace orvane;
using namespace orvane::sim;

namespace {

constexpr std::size_t kLongestCommand = 256;

// Keeps the configuration file in step with the controller, when one was named.
void UseConfigurationFile(const std::string& file, SimulatorOptions& options) {
    const StoredConfiguration stored = LoadConfiguration(file);
    if (stored.texts) {
        options.configuration = stored.texts;
    } else if (!stored.missing) {
        std::cerr << "orvane-sim: " << file << " not used (" << stored.problem
                  << "); starting from the defaults\n";
    }
    options.configurationChanged = [file](const RegisterImage& config) {
        const std::string error = SaveConfiguration(file, config);
        if (!error.empty()) {
            std::cerr << "orvane-sim: cannot save " << file << ": " << error << "\n";
        }
    };
}

// Takes complete lines from what arrived on standard input; false once one says quit.
bool ApplyTypedLines(std::string& typed, SimulatorHost& host) {
    for (auto end = typed.find('\n'); end != std::string::npos; end = typed.find('\n')) {
        const std::string line = typed.substr(0, end);
        typed.erase(0, end + 1);
        switch (ApplyRuntimeCommand(line, host)) {
        case CommandOutcome::Quit:
            return false;
        case CommandOutcome::Unknown:
            std::cerr << "orvane-sim: unknown command \"" << line << "\"\n" << RuntimeCommandHelp();
            break;
        case CommandOutcome::Done:
            break;
        }
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    const CommandLine line = ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    if (line.help) {
        std::cout << UsageText() << "\n" << RuntimeCommandHelp();
        return 0;
    }
    if (!line.error.empty()) {
        std::cerr << "orvane-sim: " << line.error << "\n\n" << UsageText();
        return 2;
    }
    SimulatorOptions options = line.simulator;
    if (!line.configFile.empty()) {
        UseConfigurationFile(line.configFile, options);
    }

    // Blocked before the simulator's thread starts, so that it inherits the mask and
    // the signal descriptor is the only taker. A background job reading the terminal
    // gets an error instead of being stopped.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGHUP);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGTTIN, SIG_IGN);
    const int signals = signalfd(-1, &stopSignals, SFD_CLOEXEC);
    if (signals < 0) {
        pthread_sigmask(SIG_UNBLOCK, &stopSignals, nullptr); // then they end us the plain way
    }

    SimulatorHost host;
    const StartResult started = host.Start(options);
    if (!started.ok) {
        std::cerr << "orvane-sim: " << started.error << "\n";
        return 1;
    }
    std::cout << started.path << std::endl;

    bool reading = true;
    std::string typed;
    // Wakes now and then to notice a device that failed on its own.
    while (host.IsRunning()) {
        pollfd fds[2] = {{signals, POLLIN, 0}, {reading ? STDIN_FILENO : -1, POLLIN, 0}};
        if (::poll(fds, 2, 250) < 0 && errno != EINTR) {
            break;
        }
        if (fds[0].revents & POLLIN) {
            break;
        }
        if (fds[1].revents & (POLLIN | POLLHUP | POLLERR)) {
            char buffer[512];
            const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
            if (n <= 0) {
                reading = false; // end of input: run on until a signal
                continue;
            }
            typed.append(buffer, static_cast<std::size_t>(n));
            if (!ApplyTypedLines(typed, host)) {
                break;
            }
            if (typed.size() > kLongestCommand) {
                typed.clear(); // no command is that long
            }
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
