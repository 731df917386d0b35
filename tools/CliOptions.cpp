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
        {"diff", CliCommand::Diff},       {"report", CliCommand::Report},
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
    return c != CliCommand::Ports && c != CliCommand::Check && c != CliCommand::Diff &&
           c != CliCommand::Report && c != CliCommand::None;
}

bool TakesFiles(CliCommand c) {
    return c == CliCommand::Write || c == CliCommand::Check || c == CliCommand::Diff;
}

// Checks what each command requires once everything was read.
std::string Validate(const CliOptions& o) {
    if (o.command == CliCommand::None) {
        return "no command given";
    }
    if (NeedsPort(o.command) && o.port.empty()) {
        return "--port is required for this command";
    }
    if (!NeedsPort(o.command) && o.command != CliCommand::Diff && !o.port.empty()) {
        return "--port does not apply to this command";
    }
    const bool wantsOutput = o.command == CliCommand::Read || o.command == CliCommand::Log ||
                             o.command == CliCommand::Report;
    if (wantsOutput && o.output.empty()) {
        return "-o FILE is required for this command";
    }
    if (!wantsOutput && !o.output.empty()) {
        return "-o does not apply to this command";
    }
    if (o.command == CliCommand::Diff) {
        if (o.port.empty() && o.secondInput.empty()) {
            return "diff compares two configuration files, or --port and one file";
        }
        if (!o.port.empty() && !o.secondInput.empty()) {
            return "diff --port compares the controller with one file";
        }
    }
    if (TakesFiles(o.command) && o.input.empty()) {
        return "a configuration FILE is required for this command";
    }
    if (o.seconds && o.command != CliCommand::Log) {
        return "--seconds applies to log only";
    }
    if (o.csv && o.command != CliCommand::Log) {
        return "--csv applies to log only";
    }
    if ((o.verify || !o.backupDir.empty()) && o.command != CliCommand::Write) {
        return std::string(o.verify ? "--verify" : "--backup") + " applies to write only";
    }
    if (o.identify && o.command != CliCommand::Write) {
        return "--identify applies to write only";
    }
    if (!o.report.empty()) {
        if (o.command != CliCommand::Write) {
            return "--report applies to write only (report makes one from two files)";
        }
        if (o.backupDir.empty()) {
            return "--report needs --backup: the backup is the as-found record";
        }
    }
    const bool makesReport = !o.report.empty() || o.command == CliCommand::Report;
    if ((!o.site.empty() || !o.engineer.empty()) && !makesReport) {
        return std::string(o.site.empty() ? "--engineer" : "--site") +
               " applies to write --report and report only";
    }
    if (o.command == CliCommand::Report && (o.found.empty() || o.left.empty())) {
        return "report needs --found FILE and --left FILE";
    }
    if ((!o.found.empty() || !o.left.empty()) && o.command != CliCommand::Report) {
        return std::string(o.found.empty() ? "--left" : "--found") + " applies to report only";
    }
    const bool reports = o.command == CliCommand::Check || o.command == CliCommand::Info ||
                         o.command == CliCommand::Diff;
    if (o.json && !reports) {
        return "--json applies to check, info and diff only";
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
        if (arg == "--verify") {
            o.verify = true;
            continue;
        }
        if (arg == "--json") {
            o.json = true;
            continue;
        }
        if (arg == "--csv") {
            o.csv = true;
            continue;
        }
        if (arg == "--identify") {
            o.identify = true;
            continue;
        }
        if (arg == "--report" || arg == "--found" || arg == "--left" || arg == "--site" ||
            arg == "--engineer") {
            const auto v = value();
            if (!v || (v->empty() && arg != "--site" && arg != "--engineer")) {
                return refuse(arg + " needs a value");
            }
            std::string& field = arg == "--report"  ? o.report
                                 : arg == "--found" ? o.found
                                 : arg == "--left"  ? o.left
                                 : arg == "--site"  ? o.site
                                                    : o.engineer;
            field = *v;
            continue;
        }
        if (arg == "--port" || arg == "-o" || arg == "--output" || arg == "--seconds" ||
            arg == "--tick-ms" || arg == "--backup") {
            const auto v = value();
            if (!v) {
                return refuse(arg + " needs a value");
            }
            if (arg == "--port") {
                o.port = *v;
            } else if (arg == "-o" || arg == "--output") {
                o.output = *v;
            } else if (arg == "--backup") {
                if (v->empty()) {
                    return refuse("--backup needs a folder");
                }
                o.backupDir = *v;
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
        } else if (o.input.empty() && TakesFiles(o.command)) {
            o.input = arg;
        } else if (o.secondInput.empty() && o.command == CliCommand::Diff) {
            o.secondInput = arg;
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
           "  write --port P FILE [--backup DIR] [--verify] [--identify]\n"
           "        [--report OUT.html [--site TEXT] [--engineer TEXT]]\n"
           "                             write the configuration FILE to the controller;\n"
           "                             a file that fails the checks is refused\n"
           "  info --port P [--json]     restart the controller and print its information\n"
           "  restart --port P           restart the controller\n"
           "  defaults --port P          restore the controller's default configuration\n"
           "  log --port P -o FILE [--seconds N] [--csv]\n"
           "                             log live records to FILE in the GUI's log format,\n"
           "                             N records (one a tick), or until interrupted\n"
           "  check FILE [--json]        validate a configuration file and print its name,\n"
           "                             issue, description, date and checksum\n"
           "  diff A B [--json]          list what differs from configuration file A to B,\n"
           "                             one line per setting, grouped by page\n"
           "  diff --port P FILE [--json]\n"
           "                             the same from the controller's configuration to FILE\n"
           "  report --found A --left B -o OUT.html [--site TEXT] [--engineer TEXT]\n"
           "                             a commissioning report from two configuration\n"
           "                             files, what was found and what was left\n"
           "                             (not verified: nothing was read back)\n"
           "\n"
           "Options:\n"
           "  --port P       a device path (/dev/ttyUSB0, a pseudo-terminal) or a COM\n"
           "                 number from the port list (COM3 or 3)\n"
           "  -o, --output FILE\n"
           "                 the file that read or log writes\n"
           "  --backup DIR   write: first read the controller's configuration and save it\n"
           "                 in DIR as <name>_Issue<n>_<YYYYMMDD-HHMMSS>.txt; nothing is\n"
           "                 written when that fails\n"
           "  --verify       write: read the configuration back and compare all 400\n"
           "                 registers and the checksum; every difference is listed\n"
           "  --identify     write: first restart the controller and capture its\n"
           "                 identification text (as info does) for the report\n"
           "  --report OUT.html\n"
           "                 write (needs --backup): after the chain, a commissioning\n"
           "                 report: as found (the backup), as left, the verification's\n"
           "                 result, what changed page by page, the latest live record\n"
           "                 and every setting as left; made also when the verification\n"
           "                 fails\n"
           "  --site TEXT, --engineer TEXT\n"
           "                 write --report, report: named in the report's header\n"
           "  --csv          log: a CSV file (RFC 4180) with a header row, one row per\n"
           "                 live record, the PC's local time first\n"
           "  --json         check, info, diff: one JSON object on standard output\n"
           "  --seconds N    log: stop after N records\n"
           "  --tick-ms N    the sequencer's tick in milliseconds (5 to 1000, default\n"
           "                 1000); faster ticks are for the simulated controller only\n"
           "  -h, --help     show this text\n"
           "\n"
           "Progress is shown on stderr when it is a terminal. A read takes 34 ticks,\n"
           "a write 61, defaults 34, restart 14, info 16 to 25 once 1300 bytes have\n"
           "come from the controller (about 20 ticks of live records on a fresh\n"
           "connection). A verified write then waits until the controller's output has\n"
           "refilled the receive window (up to 60 ticks, about 25 with live records)\n"
           "and reads back.\n"
           "\n"
           "Exit status: 0 done (diff: the configurations are the same); 1 usage error\n"
           "(diff: they differ); 2 file refused or not written; 3 the controller did\n"
           "not answer as expected; 4 port not found, not opened or failed;\n"
           "5 verification found differences; 130 interrupted.\n";
}

} // namespace orvane::cli
