#pragma once

#include <cstdio>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/comms/LiveFields.h"
#include "core/comms/MainWindowView.h"
#include "core/comms/Prompter.h"
#include "core/image/RegisterImage.h"

namespace orvane {

// 80 characters, no line end of its own; the first record's CR LF ends it.
inline constexpr std::string_view kLogHeader =
    "RPM1  PWM1  RPM2 PWM2  RPM3 PWM3  RPM4 PWM4 NTC1 NCT2 INP1 INP2 ALARMS Uptime(s)";

// The name the log file dialog proposes: the configuration's name and the day, as
// "NAME_log_2026-12-08" (no extension: the dialog adds it); path separators become "_".
std::string ProposedLogFileName(const std::string& configurationName, const std::tm& day);

// Writes every live tick's fields to a file the user chooses. The log status text
// is kept here and pushed to the view: writing depends on it reading exactly
// "File opened successfully".
class DataLogger {
public:
    DataLogger(RegisterImage& image, IMainWindowView& view, IPrompter& prompter);
    ~DataLogger();
    DataLogger(const DataLogger&) = delete;
    DataLogger& operator=(const DataLogger&) = delete;

    // Asks for the file and opens it empty once chosen; sets bit 5 of register 184 when
    // opened. With no log running, a cancelled dialog or a file that cannot be opened
    // clears bit 5; with one running, the running log goes on (a failure says why).
    // Ticks go on while the dialog is open; asking again meanwhile opens no second one.
    void OpenLogFile();
    // Closes an open file; clears bit 5 in any case. A file dialog still open is
    // answered in vain.
    void CloseLogFile();
    // The end of every timer tick: while connected and in "VIEW DATA", the record
    // unless its up time is the one last written (a record without one is none).
    // A failed write closes the file, clears bit 5 and says so in the status.
    void LogTick(bool connected, int state, const LiveFields& fields);

    void SetLogStatus(std::string text);
    const std::string& LogStatus() const { return m_status; }
    bool IsOpen() const { return m_file != nullptr; }
    bool ChoosingFile() const { return m_choosing; }
    bool LoggedThisTick() const { return m_loggedThisTick; }
    const std::string& Path() const { return m_path; }

private:
    struct FileCloser {
        void operator()(std::FILE* file) const { std::fclose(file); }
    };

    void OpenChosenFile(const std::optional<std::string>& chosen);
    bool WriteRecord(const std::string& record);
    void StopAfterWriteFailure(const std::string& reason);

    RegisterImage& m_image;
    IMainWindowView& m_view;
    IPrompter& m_prompter;
    std::unique_ptr<std::FILE, FileCloser> m_file;
    std::string m_path;
    std::string m_status = "....";
    bool m_headerWritten = false;
    bool m_loggedThisTick = false;
    bool m_choosing = false;  // the file dialog is open
    unsigned m_choice = 0;    // which dialog's answer counts
    std::string m_lastUpTime; // of the record last written to this file
};

} // namespace orvane
