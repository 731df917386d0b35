#include "tools/CliCommands.h"

#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <functional>
#include <optional>
#include <sstream>

#include "core/comms/SequencerCodes.h"
#include "core/comms/SequencerTexts.h"
#include "core/image/Checksum.h"
#include "core/reports/ConfigDiff.h"
#include "core/reports/CsvWriter.h"
#include "core/reports/LiveCsv.h"
#include "tools/CliCommissioning.h"
#include "tools/CliFiles.h"
#include "tools/CliOptions.h"
#include "tools/CliReports.h"
#include "tools/CliSafeWrite.h"
#include "tools/CliSession.h"
#include "tools/PortLookup.h"

namespace orvane::cli {

namespace {

// Ticks allowed for the first live record before logging starts.
constexpr int kLiveDataWaitTicks = 15;
// The information capture looks only once more than 1300 bytes came since connecting, which
// a restart's text and the records after it alone may not bring in time.
constexpr int kCaptureMinimumCount = 1300;
constexpr int kCaptureFillTicks = 40;

Outcome Check(const CliOptions& options, std::ostream& out) {
    const LoadedConfiguration loaded = ReadConfigurationFile(options.input);
    if (!loaded.outcome.Ok()) {
        return loaded.outcome;
    }
    RegisterImage image;
    image.SetTexts(loaded.texts);
    out << ConfigurationSummary(image, options.json);
    return {};
}

// What differs from `before` to `after`: exit 0 when nothing, 1 when something does.
Outcome Diff(const RegisterTexts& before, const RegisterTexts& after, bool json,
             std::ostream& out) {
    RegisterImage a;
    a.SetTexts(before);
    RegisterImage b;
    b.SetTexts(after);
    const std::vector<FieldDifference> differences = DiffConfigurations(a, b);
    out << DiffReport(differences, a, b, json);
    if (differences.empty()) {
        return {};
    }
    return {kExitDifferent, std::to_string(differences.size()) + " setting" +
                                (differences.size() == 1 ? " differs" : "s differ")};
}

Outcome DiffFiles(const CliOptions& options, std::ostream& out) {
    const LoadedConfiguration a = ReadConfigurationFile(options.input);
    if (!a.outcome.Ok()) {
        return a.outcome;
    }
    const LoadedConfiguration b = ReadConfigurationFile(options.secondInput);
    if (!b.outcome.Ok()) {
        return b.outcome;
    }
    return Diff(a.texts, b.texts, options.json, out);
}

Outcome Ports(std::ostream& out) {
    const auto ports = ListPorts();
    for (const ListedPort& port : ports) {
        out << "COM" << port.number << "\t" << port.devicePath << "\t" << port.friendlyName << "\n";
    }
    return {};
}

struct ReadBack {
    Outcome outcome;
    RegisterTexts texts{};
};

// The controller's configuration as it sent it, taken on the tick its reply was shown
// (before the log question can change bit 5; a reply taken by an earlier read does not count).
ReadBack ReadFromController(CliSession& session) {
    Sequencer& seq = session.Sequencing();
    const int shownBefore = session.Console().configurationsShown;
    std::optional<RegisterTexts> received;
    Outcome run = session.RunCommand([&] { seq.RequestCommand(CommandCode::ReadConfig); },
                                     [&] {
                                         if (!received &&
                                             session.Console().configurationsShown != shownBefore &&
                                             seq.LastReplyOutcome() == ConfigReplyOutcome::Loaded) {
                                             received = session.Image().Texts();
                                         }
                                     });
    if (!run.Ok()) {
        return {run};
    }
    if (!received) {
        return {{kExitController, seq.LastReplyOutcome() == ConfigReplyOutcome::ChecksumMismatch
                                      ? "the configuration received has a wrong checksum"
                                      : "no configuration received; check that the cable is "
                                        "connected and the controller is powered"}};
    }
    return {{}, *received};
}

Outcome Read(CliSession& session, const std::string& output) {
    const ReadBack read = ReadFromController(session);
    if (!read.outcome.Ok()) {
        return read.outcome;
    }
    return WriteConfigurationFile(read.texts, output);
}

// Ticks while `waiting` holds, at most `limit` times; the command that follows says
// whether it was enough.
void TickWhile(CliSession& session, int limit, const std::function<bool()>& waiting) {
    for (int i = 0; i < limit && waiting() && !CliSession::StopRequested(); ++i) {
        session.Tick();
    }
}

Outcome Info(CliSession& session, std::ostream& out) {
    Sequencer& seq = session.Sequencing();
    session.Console().controllerInfo.clear();
    Outcome run = session.RunCommand([&] { seq.RequestControllerInformation(); });
    if (!run.Ok()) {
        return run;
    }
    if (session.Console().controllerInfo.empty()) {
        return {kExitController, "no controller information received"};
    }
    out << session.Console().controllerInfo << "\n";
    return {};
}

// The controller's identification text for the report. A controller that sends none is
// no reason to stop: the report then says it was not captured.
Outcome Identify(CliSession& session, VisitRecord& visit, std::ostream& err) {
    TickWhile(session, kCaptureFillTicks,
              [&] { return session.Sequencing().Received().Count() <= kCaptureMinimumCount; });
    std::ostringstream shown;
    Outcome info = Info(session, shown);
    if (info.code == kExitController) {
        err << "orvane-cli: " << info.message << "; the report says so\n";
        return {};
    }
    if (info.Ok()) {
        visit.identification = session.Console().controllerInfo;
    }
    return info;
}

// Backup, write, verification and report, each only when the step before went through;
// the report is made whenever the write was, and says what the verification found.
Outcome Write(CliSession& session, const CliOptions& options, const std::string& port,
              std::ostream& out, std::ostream& err) {
    const LoadedConfiguration loaded = ReadConfigurationFile(options.input);
    if (!loaded.outcome.Ok()) {
        return loaded.outcome;
    }
    VisitRecord visit = NewVisit(options);
    visit.port = port;
    visit.left = loaded.texts;
    if (!options.report.empty()) {
        if (Outcome folder = CheckReportFolder(options.report); !folder.Ok()) {
            return {folder.code, folder.message + "; nothing written"};
        }
    }
    if (options.identify) {
        if (Outcome identified = Identify(session, visit, err); !identified.Ok()) {
            return identified;
        }
    }
    session.Image().SetTexts(loaded.texts);
    const SafeWriteRun run = RunSafeWrite(session, options, out);
    if (!run.result.written) {
        return run.outcome;
    }
    const Outcome& result = run.outcome;
    RecordChainInVisit(run.result, visit);
    if (options.report.empty()) {
        return result;
    }
    if (const auto& live = session.LatestLiveRecord()) {
        visit.live = LiveSnapshot{LocalIsoTime(live->received), live->fields};
    }
    if (Outcome saved = SaveReport(visit, options.report); !saved.Ok()) {
        return result.Ok() ? saved : Outcome{result.code, result.message + "; " + saved.message};
    }
    out << "Report: " << options.report << "\n";
    return result;
}

Outcome DiffWithController(CliSession& session, const CliOptions& options, std::ostream& out) {
    const LoadedConfiguration file = ReadConfigurationFile(options.input);
    if (!file.outcome.Ok()) {
        return file.outcome;
    }
    const ReadBack held = ReadFromController(session);
    if (!held.outcome.Ok()) {
        return held.outcome;
    }
    return Diff(held.texts, file.texts, options.json, out);
}

// What one tick of logging did: a record written, or why logging must stop.
struct LogStep {
    bool wrote = false;
    std::optional<Outcome> failure;
};

// Ticks in live data, recording after each tick, until the records asked for are written,
// the user stops, or the file or the port fails.
Outcome RecordLiveData(CliSession& session, const CliOptions& options, std::ostream& err,
                       bool showProgress, const std::function<LogStep()>& record) {
    int records = 0;
    Outcome result;
    while (true) {
        session.Tick();
        const LogStep step = record();
        if (step.failure) {
            result = *step.failure;
            break;
        }
        if (!session.Sequencing().IsConnected()) {
            result = {kExitPort, session.Console().messages.empty()
                                     ? "the port was closed"
                                     : session.Console().messages.back().text};
            break;
        }
        records += step.wrote ? 1 : 0;
        if (showProgress) {
            err << "\rlogged " << records << " records" << std::flush;
        }
        if (options.seconds && records >= *options.seconds) {
            break;
        }
        if (CliSession::StopRequested()) {
            break; // the normal end of an open-ended log
        }
    }
    if (showProgress) {
        err << "\n";
    }
    return result;
}

// The GUI's log file, written by the sequencer's own logger.
Outcome LogGuiFormat(CliSession& session, const CliOptions& options, std::ostream& err,
                     bool showProgress) {
    Sequencer& seq = session.Sequencing();
    session.Console().logPath = options.output;
    seq.RequestLog(true);
    Outcome result = RecordLiveData(session, options, err, showProgress, [&]() -> LogStep {
        const DataLogger& logger = seq.Logger();
        if (!logger.IsOpen()) {
            return {false, Outcome{kExitFile, options.output + ": " + logger.LogStatus()}};
        }
        return {logger.LoggedThisTick(), std::nullopt};
    });
    if (seq.Logger().IsOpen()) {
        seq.RequestLog(false);
        session.Tick();
    }
    return result;
}

// One row per live record received: a record is new when its up time changed, as the
// controller's up time does from record to record.
Outcome LogCsv(CliSession& session, const CliOptions& options, std::ostream& err,
               bool showProgress) {
    std::ofstream file(options.output, std::ios::binary | std::ios::trunc);
    const auto failed = [&] {
        return Outcome{kExitFile, "cannot write " + options.output + ": " + std::strerror(errno)};
    };
    file << CsvRow(LiveCsvHeader()) << std::flush;
    if (!file) {
        return failed();
    }
    const Sequencer& seq = session.Sequencing();
    std::string lastUpTime;
    return RecordLiveData(session, options, err, showProgress, [&]() -> LogStep {
        const LiveFields& fields = seq.Fields();
        const std::string& upTime = fields[kLiveFieldsFilled - 1];
        if (seq.StatusText() != StateName(State::ViewData) || upTime == lastUpTime) {
            return {};
        }
        lastUpTime = upTime;
        const auto now = std::chrono::system_clock::now();
        file << CsvRow(LiveCsvCells(LocalIsoTime(now), fields)) << std::flush;
        if (!file) {
            return {false, failed()};
        }
        return {true, std::nullopt};
    });
}

Outcome Log(CliSession& session, const CliOptions& options, std::ostream& err, bool showProgress) {
    Sequencer& seq = session.Sequencing();
    seq.RequestLiveData();
    int waited = 0;
    while (seq.StatusText() != StateName(State::ViewData)) {
        if (CliSession::StopRequested()) {
            return {kExitInterrupted, "interrupted"};
        }
        if (++waited > kLiveDataWaitTicks) {
            return {kExitController, "no live records received"};
        }
        session.Tick();
    }
    return options.csv ? LogCsv(session, options, err, showProgress)
                       : LogGuiFormat(session, options, err, showProgress);
}

Outcome RunOnController(const CliOptions& options, std::ostream& out, std::ostream& err,
                        bool showProgress) {
    const ResolvedPort port = ResolvePort(options.port);
    if (!port.error.empty()) {
        return {kExitPort, port.error};
    }
    CliSession session(port.devicePath, port.number, std::chrono::milliseconds(options.tickMs),
                       showProgress ? &err : nullptr);
    if (Outcome connected = session.Connect(); !connected.Ok()) {
        return connected;
    }
    Sequencer& seq = session.Sequencing();
    switch (options.command) {
    case CliCommand::Read:
        return Read(session, options.output);
    case CliCommand::Write:
        return Write(session, options, PortText(port), out, err);
    case CliCommand::Info: {
        TickWhile(session, kCaptureFillTicks,
                  [&] { return seq.Received().Count() <= kCaptureMinimumCount; });
        std::ostringstream text;
        Outcome info = Info(session, options.json ? text : out);
        if (info.Ok() && options.json) {
            out << IdentificationJson(session.Console().controllerInfo);
        }
        return info;
    }
    case CliCommand::Diff:
        return DiffWithController(session, options, out);
    case CliCommand::Restart:
        return session.RunCommand([&] { seq.RequestCommand(CommandCode::Restart); });
    case CliCommand::Defaults:
        return session.RunCommand([&] { seq.RequestCommand(CommandCode::WriteDefault); });
    case CliCommand::Log:
        return Log(session, options, err, showProgress);
    default:
        return {kExitUsage, "not a controller command"};
    }
}

} // namespace

int RunCli(const std::vector<std::string>& args, std::ostream& out, std::ostream& err,
           bool showProgress) {
    const CliOptions options = ParseCliArgs(args);
    if (options.help) {
        out << CliUsage();
        return kExitOk;
    }
    if (!options.error.empty()) {
        err << "orvane-cli: " << options.error << "\n\n" << CliUsage();
        return kExitUsage;
    }
    Outcome outcome;
    switch (options.command) {
    case CliCommand::Ports:
        outcome = Ports(out);
        break;
    case CliCommand::Check:
        outcome = Check(options, out);
        break;
    case CliCommand::Report:
        outcome = ReportFromFiles(options, out);
        break;
    case CliCommand::Diff:
        outcome = options.port.empty() ? DiffFiles(options, out)
                                       : RunOnController(options, out, err, showProgress);
        break;
    default:
        outcome = RunOnController(options, out, err, showProgress);
        break;
    }
    if (!outcome.Ok()) {
        err << "orvane-cli: " << outcome.message << "\n";
    }
    return outcome.code;
}

} // namespace orvane::cli
