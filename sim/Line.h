#pragma once

#include <string>

namespace orvane::sim {

// The simulator's end of the serial line: the master side of a pseudo-terminal that
// it creates, or a serial device that it opens. Raw, 9600 baud 8N1, non-blocking.
class Line {
public:
    Line() = default;
    ~Line();
    Line(const Line&) = delete;
    Line& operator=(const Line&) = delete;

    // On failure the returned text says why; empty on success.
    std::string OpenPseudoTerminal();
    std::string OpenDevice(const std::string& path);
    void Close();

    int Fd() const { return m_fd; }
    bool IsOpen() const { return m_fd >= 0; }
    bool IsPseudoTerminal() const { return m_pseudoTerminal; }
    // The pseudo-terminal's slave path or the device path.
    const std::string& Path() const { return m_path; }

    // Pseudo-terminal only: whether anyone holds the slave open. Nobody does: the
    // master reports a hang-up until someone opens it again.
    bool HasReader() const;
    // Pseudo-terminal only: drops what was sent but not read, as a closed port would.
    void DiscardUnread() const;

private:
    int m_fd = -1;
    bool m_pseudoTerminal = false;
    std::string m_path;
};

} // namespace orvane::sim
