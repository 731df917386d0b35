#include "tools/CliOptions.h"

#include <charconv>
#include <map>

namespace orvane::cli {

namespace {

constexpr int kTickMsMin = 5;
constexpr int kTickMsMax = 1000;

const std::map<std::string, CliCommand>& Commands() {
    static const std::map<std::string, CliCommand> commands{
        {"ports", CliCommand::Ports},     {"read", CliCommand::Read},
        {"write", CliCommand::Write},     {"info", CliCommand::Info},
        {"restart", CliCommand::Restart}, {"defaults", CliCommand::Defaults},
        {"log", CliCommand::Log},         {"check", CliCommand::Check},
    };
    return commands;
}

std::optional<int> ParseInt(const std::string& text) {
    int value = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

bool NeedsPort(CliCommand c) {
    return c != CliCommand::Ports && c != CliCommand::Check && c != CliCommand::None;
}

// Checks what each command requires once everything was read.
std::string Validate(const CliOptions& o) {
    if (o.command == CliCommand::None) {
        return "no command given";
    }
    if (NeedsPort(o.command) && o.port.empty()) {
        return "--port is required for this command";
    }
    if (!NeedsPort(o.command) && !o.port.empty()) {
        return "--port does not apply to this command";
    }
    const bool wantsOutput = o.command == CliCommand::Read || o.command == CliCommand::Log;
    if (wantsOutput && o.output.empty()) {
        return "-o FILE is required for this command";
    }
    if (!wantsOutput && !o.output.empty()) {
        return "-o does not apply to this command";
    }
    const bool wantsInput = o.command == CliCommand::Write || o.command == CliCommand::Check;
    if (wantsInput && o.input.empty()) {
        return "a configuration FILE is required for this command";
    }
    if (o.seconds && o.command != CliCommand::Log) {
        return "--seconds applies to log only";
    }
    return {};
}

} // namespace

CliOptions ParseCliArgs(const std::vector<std::string>& args) {
    CliOptions o;
    auto refuse = [&o](std::string why) {
        o.error = std::move(why);
        return o;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        auto value = [&]() -> std::optional<std::string> {
            if (i + 1 >= args.size()) {
                return std::nullopt;
            }
            return args[++i];
        };
        if (arg == "--help" || arg == "-h") {
            o.help = true;
            return o;
        }
        if (arg == "--port" || arg == "-o" || arg == "--output" || arg == "--seconds" ||
            arg == "--tick-ms") {
            const auto v = value();
            if (!v) {
                return refuse(arg + " needs a value");
            }
            if (arg == "--port") {
                o.port = *v;
            } else if (arg == "-o" || arg == "--output") {
                o.output = *v;
            } else if (arg == "--seconds") {
                const auto n = ParseInt(*v);
                if (!n || *n < 1) {
                    return refuse("--seconds needs a whole number of at least 1");
                }
                o.seconds = n;
            } else {
                const auto n = ParseInt(*v);
                if (!n || *n < kTickMsMin || *n > kTickMsMax) {
                    return refuse("--tick-ms needs a whole number from 5 to 1000");
                }
                o.tickMs = *n;
            }
            continue;
        }
        if (arg.starts_with("-") && arg != "-") {
            return refuse("unknown option " + arg);
        }
        if (o.command == CliCommand::None) {
            const auto found = Commands().find(arg);
            if (found == Commands().end()) {
                return refuse("unknown command " + arg);
            }
            o.command = found->second;
        } else if (o.input.empty() &&
                   (o.command == CliCommand::Write || o.command == CliCommand::Check)) {
            o.input = arg;
        } else {
            return refuse("unexpected argument " + arg);
        }
    }
    if (std::string why = Validate(o); !why.empty()) {
        return refuse(std::move(why));
    }
    return o;
}

std::string CliUsage() {
    return "Usage: orvane-cli COMMAND [OPTIONS]\n"
           "\n"
           "Talks to a fan and thermal controller over a serial line with the same\n"
           "one-second keystroke schedules as Orvane - GUI.\n"
           "\n"
           "Commands:\n"
           "  ports                      list the serial ports with their COM numbers\n"
           "  read --port P -o FILE      read the controller's configuration into FILE\n"
           "                             (the GUI's configuration file format)\n"
           "  write --port P FILE        write the configuration FILE to the controller;\n"
           "                             a file that fails the checks is refused\n"
           "  info --port P              restart the controller and print its information\n"
           "  restart --port P           restart the controller\n"
           "  defaults --port P          restore the controller's default configuration\n"
           "  log --port P -o FILE [--seconds N]\n"
           "                             log live records to FILE in the GUI's log format,\n"
           "                             N records (one a tick), or until interrupted\n"
           "  check FILE                 validate a configuration file and print its name,\n"
           "                             issue, description, date and checksum\n"
           "\n"
           "Options:\n"
           "  --port P       a device path (/dev/ttyUSB0, a pseudo-terminal) or a COM\n"
           "                 number from the port list (COM3 or 3)\n"
           "  -o, --output FILE\n"
           "                 the file that read or log writes\n"
           "  --seconds N    log: stop after N records\n"
           "  --tick-ms N    the sequencer's tick in milliseconds (5 to 1000, default\n"
           "                 1000); faster ticks are for the simulated controller only\n"
           "  -h, --help     show this text\n"
           "\n"
           "Progress is shown on stderr when it is a terminal. A read takes 34 ticks,\n"
           "a write 61, defaults 34, restart 14, info 16 to 25.\n"
           "\n"
           "Exit status: 0 done; 1 usage error; 2 file refused or not written;\n"
           "3 the controller did not answer as expected; 4 port not found, not opened\n"
           "or failed; 130 interrupted.\n";
}

} // namespace orvane::cli
