#pragma once

// What the window saw during a visit, for a commissioning report made at any time: the
// controller's identification text, the first configuration read (what was found), the last
// one written and a read after it (what the controller held then), and the latest live record.
// Nothing is recorded that was not seen.

#include <optional>
#include <string>

#include "core/comms/LiveFields.h"
#include "core/comms/Sequencer.h"
#include "core/image/RegisterImage.h"
#include "core/reports/CommissioningReport.h"

namespace orvane {

// The as-found "file" when the first read of the visit is the record.
inline constexpr std::string_view kFoundByReading =
    "(none: the first configuration read from the controller during this visit)";

class VisitLog {
public:
    // After every sequencer tick: a write that has just started is what is left, and a live
    // record that changed is the latest. `now`: ISO 8601 with the offset from UTC.
    void AfterTick(const Sequencer& sequencer, const RegisterImage& image, const std::string& now);
    // The window was told to show a configuration's name: the image then holds a read's reply
    // when a read is running and its reply was taken.
    void OnConfigurationShown(const Sequencer& sequencer, const RegisterImage& image);
    void OnControllerInfo(const std::string& text) { m_identification = text; }

    const std::optional<RegisterTexts>& FirstRead() const { return m_firstRead; }
    const std::optional<RegisterTexts>& Written() const { return m_written; }
    // A read taken after the last write began; none before one.
    const std::optional<RegisterTexts>& ReadAfterWrite() const { return m_readAfterWrite; }
    const std::optional<std::string>& Identification() const { return m_identification; }
    const std::optional<LiveSnapshot>& LatestLive() const { return m_live; }

private:
    std::optional<RegisterTexts> m_firstRead;
    std::optional<RegisterTexts> m_written;
    std::optional<RegisterTexts> m_readAfterWrite;
    std::optional<std::string> m_identification;
    std::optional<LiveSnapshot> m_live;
    bool m_wasRunning = false;
};

// A configuration file chosen as the as-found record.
struct FoundFile {
    std::string path;
    RegisterTexts texts{};
};

// The record for a report from what the window saw: as found the chosen file, or else the
// first read; as left the last write, or else the image in the window (then nothing was
// verified); the read after the write as the verification. None without an as-found record.
std::optional<VisitRecord> ComposeVisit(const VisitLog& log, const RegisterTexts& windowImage,
                                        const std::optional<FoundFile>& file);

} // namespace orvane
