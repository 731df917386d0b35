#pragma once

#include <array>
#include <atomic>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

#include "SimulatedController.h"
#include "core/image/RegisterImage.h"

namespace orvane::sim {

class Line;

// Faults that can be switched at start and at any time while running.
struct SimulatorFaults {
    std::array<bool, 4> fanFailed{};    // the fan's speed field reads "FAIL"
    std::array<bool, 2> sensorFailed{}; // the sensor's field reads "FAIL"
    bool stalled = false;               // no live records (commands are still answered)
    bool garbage = false;               // random bytes after every live record
    std::optional<int> corruptRegister; // register 0 to 399 stored wrongly from a write
};

struct SimulatorOptions {
    std::string devicePath; // empty: create a pseudo-terminal
    bool unpaced = false;   // bytes leave as fast as the line takes them
    double timeScale = 1.0; // the controller's clock runs this many times faster
    std::optional<RegisterTexts> configuration; // empty: the default template
    SimulatorFaults faults;
    std::array<bool, 2> switchHigh{}; // switch inputs 1 and 2 at start
    // Called on the simulator's thread, without its lock held, after the controller
    // took a new configuration (a write, or restored defaults).
    std::function<void(const RegisterImage&)> configurationChanged;
};

struct StartResult {
    bool ok = false;
    std::string path;  // the pseudo-terminal's slave path (or the device) to open
    std::string error; // why it did not start
};

// Runs a simulated controller on its own thread behind a pseudo-terminal (or a
// serial device), for orvane-sim and for the GUI's built-in simulated controller.
//
// Every member may be called from any thread. Start gives the path for the far end
// to open (the GUI hands it to CSerialPort through its port resolver). Nothing needs
// to hold it open: output sent while nobody listens is lost, as on a real line. By
// default bytes leave at the line rate (960 a second, times the time scale).
class SimulatorHost {
public:
    SimulatorHost();
    ~SimulatorHost(); // stops
    SimulatorHost(const SimulatorHost&) = delete;
    SimulatorHost& operator=(const SimulatorHost&) = delete;

    // Stops a running simulator first.
    StartResult Start(const SimulatorOptions& options);
    // Ends the thread and closes the line; returns once both are done (called from
    // the configurationChanged callback it only asks, and the thread ends after it).
    void Stop();
    // False after Stop, after DropLine and after a device failure.
    bool IsRunning() const { return m_running; }
    // Why the simulator stopped on its own (device failure), if it did.
    std::string LastError() const;

    // Faults and inputs take effect within a record; set while stopped, they last until
    // the next Start, which takes its options' values instead.
    void SetFanFailed(int fan, bool failed);       // fan 1 to 4
    void SetSensorFailed(int sensor, bool failed); // sensor 1 or 2
    void SetStalled(bool stalled);
    void SetGarbage(bool garbage);
    // Register 0 to 399 of each configuration written is stored wrongly; empty: none.
    void SetCorruptStore(std::optional<int> reg);
    void SetSwitchInput(int input, bool high); // input 1 or 2
    // Holds sensor 1 or 2 at a value (°C, or V in the voltage modes); empty releases it.
    void HoldSensor(int sensor, std::optional<double> value);
    // The device vanishes: the line is closed, the far end sees a hang-up and the
    // simulator stops (IsRunning turns false). Returns once the line is closed (from
    // the configurationChanged callback: once the callback has returned). Start again
    // for a new line.
    void DropLine();

    // The controller's configuration now.
    RegisterImage Configuration() const;

private:
    // On its own thread: std::thread keeps its own copy of the options.
    void Run(std::unique_ptr<Line> line, const SimulatorOptions& options);
    void EndThread(); // asks the thread to end, then joins it unless called on it
    template <typename F>
    void Change(F&& change);
    void Wake() const;

    std::mutex m_lifeMutex;     // one Start, Stop or DropLine at a time
    mutable std::mutex m_mutex; // guards m_controller and m_lastError
    SimulatedController m_controller;
    std::string m_lastError;
    std::thread m_thread;
    int m_wakeFd = -1;
    std::atomic<std::thread::id> m_runnerId{}; // the running thread, to spot calls from it
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_stopRequested{false};
    std::atomic<bool> m_dropRequested{false};
};

} // namespace orvane::sim
