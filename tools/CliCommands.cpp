#include "tools/CliCommands.h"

#include <chrono>
#include <optional>

#include "core/Checksum.h"
#include "core/ConfigFile.h"
#include "core/ConfigurationText.h"
#include "core/Conversions.h"
#include "core/SequencerCodes.h"
#include "core/SequencerTexts.h"
#include "tools/CliOptions.h"
#include "tools/CliSession.h"
#include "tools/PortLookup.h"

namespace orvane::cli {

namespace {

// Ticks allowed for the first live record before logging starts.
constexpr int kLiveDataWaitTicks = 15;

struct Loaded {
    Outcome outcome;
    RegisterTexts texts{};
};

// A configuration file with every check the GUI's loader makes, and the one the
// write makes: each register must be four hexadecimal digits.
Loaded LoadConfigurationFile(const std::string& path) {
    const FileLoadResult file = ReadConfigurationFileBytes(path);
    if (!file.opened) {
        return {{kExitFile, "cannot read " + path + ": " + file.error}};
    }
    const FileReadResult read = DecodeConfigurationFile(file.bytes);
    switch (read.outcome) {
    case FileReadOutcome::TooLarge:
        return {{kExitFile, path + ": file larger than expected (over 4000 bytes)"}};
    case FileReadOutcome::NoStartMarker:
        return {{kExitFile, path + ": not a configuration file (no \"<\")"}};
    case FileReadOutcome::ChecksumMismatch:
        return {{kExitFile, path + ": checksum does not match the registers"}};
    case FileReadOutcome::Loaded:
        break;
    }
    if (const auto bad = FirstUnsendableRegister(read.groups)) {
        return {{kExitFile, path + ": register " + std::to_string(*bad) + " (\"" +
                                read.groups[static_cast<std::size_t>(*bad)] +
                                "\") is not four hexadecimal digits"}};
    }
    return {{}, read.groups};
}

Outcome SaveConfigurationFile(const RegisterTexts& texts, const std::string& path) {
    CRegisterImage image;
    image.SetTexts(texts);
    const ConfigurationTextResult built = BuildConfigurationText(image);
    if (!built.ok()) {
        return {kExitController, "register " + std::to_string(built.invalidRegister) +
                                     " as received is not four hexadecimal digits"};
    }
    const FileWriteResult written = WriteFileAtomically(path, EncodeConfigurationFile(built.text));
    if (!written.ok) {
        return {kExitFile, "cannot write " + path + ": " + written.error};
    }
    return {};
}

Outcome Check(const CliOptions& options, std::ostream& out) {
    const Loaded loaded = LoadConfigurationFile(options.input);
    if (!loaded.outcome.ok()) {
        return loaded.outcome;
    }
    CRegisterImage image;
    image.SetTexts(loaded.texts);
    const auto issue = image.Value(kIssueRegister);
    out << "Name: " << image.DecodeTextField(kNameField) << "\n"
        << "Issue: " << (issue ? FormatDecimal(*issue) : image.Text(kIssueRegister)) << "\n"
        << "Description: " << image.DecodeTextField(kDescriptionField) << "\n"
        << "Date: " << image.DecodeTextField(kDateField) << "\n"
        << "Checksum: " << image.Text(kChecksumIndex) << "\n";
    return {};
}

Outcome Ports(std::ostream& out) {
    const auto ports = ListPorts();
    for (const ListedPort& port : ports) {
        out << "COM" << port.number << "\t" << port.devicePath << "\t" << port.friendlyName << "\n";
    }
    return {};
}

Outcome Read(CliSession& session, const std::string& output) {
    CSequencer& seq = session.Sequencer();
    // The image as the controller sent it, before the log question can change bit 5.
    std::optional<RegisterTexts> received;
    Outcome run = session.RunCommand([&] { seq.RequestCommand(CommandCode::ReadConfig); },
                                     [&] {
                                         if (!received &&
                                             seq.LastReplyOutcome() == ConfigReplyOutcome::Loaded) {
                                             received = session.Image().Texts();
                                         }
                                     });
    if (!run.ok()) {
        return run;
    }
    if (!received) {
        return {kExitController, seq.LastReplyOutcome() == ConfigReplyOutcome::ChecksumMismatch
                                     ? "the configuration received has a wrong checksum"
                                     : "no configuration received; check that the cable is "
                                       "connected and the controller is powered"};
    }
    return SaveConfigurationFile(*received, output);
}

Outcome Write(CliSession& session, const std::string& input) {
    const Loaded loaded = LoadConfigurationFile(input);
    if (!loaded.outcome.ok()) {
        return loaded.outcome;
    }
    session.Image().SetTexts(loaded.texts);
    return session.RunCommand([&] { session.Sequencer().OnDownloadConfiguration(); });
}

Outcome Info(CliSession& session, std::ostream& out) {
    CSequencer& seq = session.Sequencer();
    session.Console().controllerInfo.clear();
    Outcome run = session.RunCommand([&] { seq.RequestControllerInformation(); });
    if (!run.ok()) {
        return run;
    }
    if (session.Console().controllerInfo.empty()) {
        return {kExitController, "no controller information received"};
    }
    out << session.Console().controllerInfo << "\n";
    return {};
}

Outcome Log(CliSession& session, const CliOptions& options, std::ostream& err, bool showProgress) {
    CSequencer& seq = session.Sequencer();
    seq.SetState(State::ViewData);
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
    session.Console().logPath = options.output;
    seq.SetPendingAction(PendingAction::OpenLog);
    int records = 0;
    Outcome result;
    while (true) {
        session.Tick();
        const CDataLogger& logger = seq.Logger();
        if (!logger.IsOpen()) {
            result = {kExitFile, options.output + ": " + logger.LogStatus()};
            break;
        }
        if (!seq.IsConnected()) {
            result = {kExitPort, session.Console().messages.empty()
                                     ? "the port was closed"
                                     : session.Console().messages.back().text};
            break;
        }
        records += logger.LoggedThisTick() ? 1 : 0;
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
    if (seq.Logger().IsOpen()) {
        seq.SetPendingAction(PendingAction::CloseLog);
        session.Tick();
    }
    return result;
}

Outcome RunOnController(const CliOptions& options, std::ostream& out, std::ostream& err,
                        bool showProgress) {
    const ResolvedPort port = ResolvePort(options.port);
    if (!port.error.empty()) {
        return {kExitPort, port.error};
    }
    CliSession session(port.devicePath, port.number, std::chrono::milliseconds(options.tickMs),
                       showProgress ? &err : nullptr);
    if (Outcome connected = session.Connect(); !connected.ok()) {
        connected.message = "cannot open " + port.devicePath;
        return connected;
    }
    CSequencer& seq = session.Sequencer();
    switch (options.command) {
    case CliCommand::Read:
        return Read(session, options.output);
    case CliCommand::Write:
        return Write(session, options.input);
    case CliCommand::Info:
        return Info(session, out);
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
    default:
        outcome = RunOnController(options, out, err, showProgress);
        break;
    }
    if (!outcome.ok()) {
        err << "orvane-cli: " << outcome.message << "\n";
    }
    return outcome.code;
}

} // namespace orvane::cli
