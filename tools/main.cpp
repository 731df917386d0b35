// orvane-cli: the controller's configuration and live data from a script.
#include <csignal>
#include <iostream>
#include <string>
#include <vector>

#include "serial/SystemServices.h"
#include "tools/CliCommands.h"
#include "tools/CliSession.h"

namespace {

extern "C" void OnStopSignal(int) {
    orvane::cli::CliSession::RequestStop();
}

} // namespace

int main(int argc, char** argv) {
    std::signal(SIGINT, OnStopSignal);
    std::signal(SIGTERM, OnStopSignal);
    const bool progress = orvane::StandardErrorIsTerminal();
    return orvane::cli::RunCli(std::vector<std::string>(argv + 1, argv + argc), std::cout,
                               std::cerr, progress);
}
