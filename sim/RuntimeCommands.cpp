#include "RuntimeCommands.h"

#include <cmath>
#include <sstream>

namespace orvane::sim {

std::string RuntimeCommandHelp() {
    return "Commands on standard input, one a line:\n"
           "  fail-fan N | fix-fan N          fan N (1-4) fails or runs again\n"
           "  fail-sensor N | fix-sensor N    sensor N (1-2) fails or reads again\n"
           "  stall | resume                  stop or resume the live records\n"
           "  garbage | clean                 start or stop random bytes after records\n"
           "  switch N hi|lo                  set switch input N (1-2)\n"
           "  corrupt-store N | clean-store   store register N (0-399) of configurations\n"
           "                                  written wrongly, or faithfully again\n"
           "  hold N VALUE | release N        hold sensor N at VALUE (degC or V), or let it drift\n"
           "  drop                            the device vanishes (the line hangs up), then quit\n"
           "  quit                            end the program\n";
}

CommandOutcome ApplyRuntimeCommand(const std::string& line, SimulatorHost& host) {
    std::istringstream words(line);
    std::string verb;
    if (!(words >> verb)) {
        return CommandOutcome::Done; // an empty line asks for nothing
    }
    int n = 0;
    std::string rest;
    auto numbered = [&](int high) { return (words >> n) && n >= 1 && n <= high; };
    auto ended = [&] { return !(words >> rest); };

    if ((verb == "fail-fan" || verb == "fix-fan") && numbered(4) && ended()) {
        host.SetFanFailed(n, verb == "fail-fan");
    } else if ((verb == "fail-sensor" || verb == "fix-sensor") && numbered(2) && ended()) {
        host.SetSensorFailed(n, verb == "fail-sensor");
    } else if ((verb == "stall" || verb == "resume") && ended()) {
        host.SetStalled(verb == "stall");
    } else if ((verb == "garbage" || verb == "clean") && ended()) {
        host.SetGarbage(verb == "garbage");
    } else if (verb == "corrupt-store" && (words >> n) && n >= 0 && n < kRegisterCount && ended()) {
        host.SetCorruptStore(n);
    } else if (verb == "clean-store" && ended()) {
        host.SetCorruptStore(std::nullopt);
    } else if (verb == "switch" && numbered(2) && (words >> rest) &&
               (rest == "hi" || rest == "lo") && ended()) {
        host.SetSwitchInput(n, rest == "hi");
    } else if (verb == "hold" && numbered(2)) {
        double value = 0;
        if (!(words >> value) || !std::isfinite(value) || !ended()) {
            return CommandOutcome::Unknown;
        }
        host.HoldSensor(n, value);
    } else if (verb == "release" && numbered(2) && ended()) {
        host.HoldSensor(n, std::nullopt);
    } else if (verb == "drop" && ended()) {
        host.DropLine();
        return CommandOutcome::Quit;
    } else if (verb == "quit" && ended()) {
        return CommandOutcome::Quit;
    } else {
        return CommandOutcome::Unknown;
    }
    return CommandOutcome::Done;
}

} // namespace orvane::sim
