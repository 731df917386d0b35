#include "core/comms/DataLogger.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "core/comms/SequencerCodes.h"
#include "core/comms/SequencerTexts.h"

namespace orvane {

namespace {

constexpr std::size_t kRecordLimit = 3999; // longer records are not written
constexpr std::string_view kLogNotOpenedCaption = "Log file not opened";

} // namespace

std::string ProposedLogFileName(const std::string& configurationName, const std::tm& day) {
    char date[16];
    std::strftime(date, sizeof date, "%Y-%m-%d", &day);
    std::string name = configurationName.empty() ? "log_" : configurationName + "_log_";
    for (char& c : name) {
        if (c == '/' || c == '\\') {
            c = '_';
        }
    }
    return name + date;
}

DataLogger::DataLogger(RegisterImage& image, IMainWindowView& view, IPrompter& prompter)
    : m_image(image), m_view(view), m_prompter(prompter) {}

DataLogger::~DataLogger() = default;

void DataLogger::SetLogStatus(std::string text) {
    m_status = std::move(text);
    m_view.ShowLogStatus(m_status);
}

void DataLogger::OpenLogFile() {
    if (m_choosing) {
        return; // the dialog still open decides
    }
    SaveFileRequest request;
    const std::time_t now = std::time(nullptr);
    request.proposedName =
        ProposedLogFileName(m_image.DecodeTextField(kNameField), *std::localtime(&now));
    request.defaultExtension = "txt";
    request.confirmOverwrite = true;
    request.fileTypes = {kLogFileType};
    m_choosing = true;
    const unsigned choice = ++m_choice;
    m_prompter.AskSaveFileLater(request, [this, choice](const std::optional<std::string>& chosen) {
        // A close asked for while the dialog was open has the last word.
        if (choice == m_choice) {
            m_choosing = false;
            OpenChosenFile(chosen);
        }
    });
}

void DataLogger::OpenChosenFile(const std::optional<std::string>& chosen) {
    if (!chosen || chosen->empty()) {
        if (m_file) {
            // Not choosing another file leaves the running log as it was.
            SetLogStatus(std::string(texts::kLogOpened));
            return;
        }
        SetLogStatus(std::string(texts::kLogNotOpened));
        m_image.SetOptionBit(kLogEnableBit, false);
        return;
    }
    // The new file is opened before the running log is let go, so a file that cannot
    // be opened never costs the log that runs. Flushed first: the new file may be it.
    if (m_file) {
        std::fflush(m_file.get());
    }
    std::unique_ptr<std::FILE, FileCloser> opened(std::fopen(chosen->c_str(), "w+b"));
    if (!opened) {
        const std::string reason = std::strerror(errno);
        if (m_file) {
            SetLogStatus(std::string(texts::kLogOpened));
            // Not waited for: the running log goes on while the box is shown.
            m_prompter.ShowNotice("The log file " + *chosen + " could not be opened (" + reason +
                                      ").\nLogging goes on into " + m_path + ".",
                                  std::string(kLogNotOpenedCaption), MessageIcon::Exclamation,
                                  [] {});
            return;
        }
        // Said, not silent: a log that never starts must neither look pending nor leave
        // the log option set with no way to clear it.
        SetLogStatus("Log file could not be opened (" + reason + ")");
        m_image.SetOptionBit(kLogEnableBit, false);
        return;
    }
    m_file = std::move(opened);
    m_path = *chosen;
    m_headerWritten = false;
    m_lastUpTime.clear();
    SetLogStatus(std::string(texts::kLogOpened));
    m_image.SetOptionBit(kLogEnableBit, true);
}

void DataLogger::CloseLogFile() {
    // Clears the option also when no file is open: it is what the user asked for, and
    // an option left set would have no log to close and no other way to clear it.
    m_image.SetOptionBit(kLogEnableBit, false);
    if (m_choosing) {
        ++m_choice;
        m_choosing = false;
        if (!m_file) {
            SetLogStatus(std::string(texts::kLogNotOpened));
        }
    }
    if (!m_file) {
        return;
    }
    std::fflush(m_file.get());
    m_file.reset();
    m_headerWritten = false;
    SetLogStatus(std::string(texts::kLogClosed));
}

void DataLogger::LogTick(bool connected, int state, const LiveFields& fields) {
    m_loggedThisTick = false;
    bool alreadyWritten = false;
    if (connected && m_status == texts::kLogOpened && m_file && state == State::ViewData) {
        // A tick that saw no new record would write the last one again: each record once,
        // and the logging indicator goes on meanwhile.
        const std::string& upTime = fields[kLiveUpTimeField];
        alreadyWritten = upTime == m_lastUpTime;
        std::string record;
        for (const auto& field : fields) {
            record += field;
        }
        if (!alreadyWritten && record.size() <= kRecordLimit && WriteRecord(record)) {
            if (!m_view.IsLoggingIndicatorPlaying()) {
                m_view.PlayLoggingIndicator(kAnimationLogging);
            }
            m_lastUpTime = upTime;
            m_loggedThisTick = true;
        }
    }
    if (!m_loggedThisTick && !alreadyWritten && m_view.IsLoggingIndicatorPlaying()) {
        m_view.PlayLoggingIndicator(kAnimationNotLogging);
    }
}

bool DataLogger::WriteRecord(const std::string& record) {
    std::error_code ec;
    if (!std::filesystem::exists(m_path, ec)) {
        // Writes to a removed file would vanish without an error.
        StopAfterWriteFailure("file removed");
        return false;
    }
    std::FILE* file = m_file.get();
    bool ok = true;
    if (!m_headerWritten) {
        ok = std::fseek(file, 0, SEEK_SET) == 0 &&
             std::fwrite(kLogHeader.data(), 1, kLogHeader.size(), file) == kLogHeader.size();
        m_headerWritten = ok;
    }
    ok = ok && std::fseek(file, 0, SEEK_END) == 0 && std::fwrite("\r\n", 1, 2, file) == 2 &&
         std::fwrite(record.data(), 1, record.size(), file) == record.size() &&
         std::fflush(file) == 0;
    if (!ok) {
        StopAfterWriteFailure(std::strerror(errno));
    }
    return ok;
}

void DataLogger::StopAfterWriteFailure(const std::string& reason) {
    m_file.reset();
    m_headerWritten = false;
    m_image.SetOptionBit(kLogEnableBit, false);
    SetLogStatus("Log write failed (" + reason + "), Log File Closed");
}

} // namespace orvane
