#include "SimOptions.h"

#include <charconv>
#include <cmath>
#include <optional>

namespace orvane::sim {

namespace {

std::optional<int> WholeNumber(const std::string& text, int low, int high) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> PositiveNumber(const std::string& text) {
    try {
        std::size_t used = 0;
        const double value = std::stod(text, &used);
        if (used == text.size() && value > 0 && std::isfinite(value)) {
            return value;
        }
    } catch (const std::exception&) {
    }
    return std::nullopt;
}

} // namespace

std::string UsageText() {
    return "Usage: orvane-sim [options]\n"
           "A simulated fan and thermal controller on a serial line. Without --device it\n"
           "creates a pseudo-terminal and prints its path as the first line of output.\n"
           "It runs until interrupted (Ctrl+C) or terminated.\n"
           "\n"
           "Options:\n"
           "  --device PATH      use this serial device instead of a pseudo-terminal\n"
           "  --config FILE      keep the configuration in FILE between runs\n"
           "                     (the GUI's configuration file format)\n"
           "  --unpaced          send as fast as the line takes the bytes\n"
           "                     (default: 9600 baud, about one byte a millisecond)\n"
           "  --time-scale N     run the controller's clock N times faster\n"
           "                     (a live record every 1/N second; pacing scales too)\n"
           "  --fail-fan N       fan N (1-4) has failed; may be repeated\n"
           "  --fail-sensor N    sensor N (1-2) has failed; may be repeated\n"
           "  --switch-high N    switch input N (1-2) starts high; may be repeated\n"
           "  --stall            send no live records\n"
           "  --garbage          send random bytes after every live record\n"
           "  --corrupt-store N  store register N (0-399) of every configuration written\n"
           "                     with a different value, as a failing memory cell would\n"
           "  --help             show this text\n";
}

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine line;
    for (std::size_t i = 0; i < args.size() && line.error.empty(); ++i) {
        std::string name = args[i];
        std::optional<std::string> inlineValue;
        if (const auto eq = name.find('='); name.starts_with("--") && eq != std::string::npos) {
            inlineValue = name.substr(eq + 1);
            name.resize(eq);
        }
        auto value = [&]() -> std::optional<std::string> {
            if (inlineValue) {
                return inlineValue;
            }
            if (i + 1 < args.size()) {
                return args[++i];
            }
            line.error = name + " needs a value";
            return std::nullopt;
        };
        auto number = [&](int low, int high) -> std::optional<int> {
            const auto text = value();
            if (!text) {
                return std::nullopt;
            }
            const auto n = WholeNumber(*text, low, high);
            if (!n) {
                line.error = name + " takes a number from " + std::to_string(low) + " to " +
                             std::to_string(high) + ", not \"" + *text + "\"";
            }
            return n;
        };
        const bool flag = !inlineValue;
        if ((name == "--help" || name == "-h") && flag) {
            line.help = true;
        } else if (name == "--unpaced" && flag) {
            line.simulator.unpaced = true;
        } else if (name == "--stall" && flag) {
            line.simulator.faults.stalled = true;
        } else if (name == "--garbage" && flag) {
            line.simulator.faults.garbage = true;
        } else if (name == "--device") {
            if (const auto path = value()) {
                line.simulator.devicePath = *path;
            }
        } else if (name == "--config") {
            if (const auto path = value()) {
                line.configFile = *path;
            }
        } else if (name == "--time-scale") {
            if (const auto text = value()) {
                const auto scale = PositiveNumber(*text);
                if (scale) {
                    line.simulator.timeScale = *scale;
                } else {
                    line.error = "--time-scale takes a positive number, not \"" + *text + "\"";
                }
            }
        } else if (name == "--fail-fan") {
            if (const auto n = number(1, 4)) {
                line.simulator.faults.fanFailed[static_cast<std::size_t>(*n - 1)] = true;
            }
        } else if (name == "--fail-sensor") {
            if (const auto n = number(1, 2)) {
                line.simulator.faults.sensorFailed[static_cast<std::size_t>(*n - 1)] = true;
            }
        } else if (name == "--corrupt-store") {
            if (const auto n = number(0, kRegisterCount - 1)) {
                line.simulator.faults.corruptRegister = *n;
            }
        } else if (name == "--switch-high") {
            if (const auto n = number(1, 2)) {
                line.simulator.switchHigh[static_cast<std::size_t>(*n - 1)] = true;
            }
        } else {
            line.error = "unknown option \"" + args[i] + "\"";
        }
    }
    return line;
}

} // namespace orvane::sim
