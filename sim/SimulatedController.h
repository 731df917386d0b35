#pragma once

#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "PlantModel.h"
#include "SimTime.h"
#include "core/image/RegisterImage.h"

namespace orvane::sim {

// The controller as seen from its serial line, without any I/O: feed it the bytes it
// receives and the time, take the bytes it sends. Not thread-safe; SimulatorHost
// guards it.
//
// Keystrokes: "c" shows the menu; in the menu "s" twice dumps the configuration,
// "r" takes a configuration text, "x" restores the default template, "z" restarts
// and " " returns to the live records, one per second.
class SimulatedController {
public:
    enum class Mode {
        LiveRecords, // normal output
        Menu,        // waiting for a command key
        TakingConfiguration,
        Restarting, // silent until the restart is over
    };

    // Starts with the default template, at time 0.
    SimulatedController();

    // Runs what fell due up to `now`, then handles the bytes received at `now`.
    void Receive(std::string_view bytes, SimTime now);
    // Runs what fell due up to `now`: live records, the end of a restart, time-outs.
    // After a jump of more than a minute the records resume from `now` rather than
    // catching up on every missed second.
    void AdvanceTo(SimTime now);
    // The bytes sent since the last call.
    std::string TakeOutput();
    // When AdvanceTo has something to do next.
    SimTime NextEventTime() const;

    Mode CurrentMode() const { return m_mode; }
    const RegisterImage& Configuration() const { return m_config; }
    // Registers 0 to 399 are taken as the numbers they hold ("%04X"; a text that holds
    // none becomes "0000", since the device stores words, not texts); the checksum entry
    // is recomputed.
    void SetConfiguration(const RegisterTexts& texts);
    // Counts every change of the configuration, for whoever keeps it on disk.
    std::uint64_t ConfigurationChanges() const { return m_configChanges; }

    PlantModel& Plant() { return m_plant; }
    // No live records while stalled; commands are still answered.
    void SetStalled(bool stalled) { m_stalled = stalled; }
    // Random bytes after every live record.
    void SetGarbage(bool garbage) { m_garbage = garbage; }
    // A failing memory cell: register 0 to 399 of every configuration received is stored
    // with its lowest bit inverted (the checksum then follows what was stored); empty
    // stores faithfully.
    void SetCorruptStore(std::optional<int> reg) { m_corruptRegister = reg; }

private:
    void OnKey(char key, SimTime now);
    void OnMenuKey(char key, SimTime now);
    void OnConfigurationByte(char byte, SimTime now);
    void FinishConfiguration();
    void FinishRestart(SimTime now);
    void SendLiveRecord(SimTime at);
    void SendGarbage();
    void Send(std::string_view text) { m_output += text; }

    RegisterImage m_config;
    std::uint64_t m_configChanges = 0;
    PlantModel m_plant;
    Mode m_mode = Mode::LiveRecords;
    std::string m_output;
    SimTime m_now{0};
    SimTime m_bootTime{0};
    SimTime m_nextRecord{1000};
    SimTime m_restartDone{0};
    SimTime m_lastKey{0};
    bool m_showArmed = false; // the first "s" of two was pressed
    std::string m_incoming;   // configuration text from its "<" on
    bool m_stalled = false;
    bool m_garbage = false;
    std::optional<int> m_corruptRegister;
    std::minstd_rand m_noise{20261206};
};

} // namespace orvane::sim
