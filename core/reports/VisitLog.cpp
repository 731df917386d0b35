#include "core/reports/VisitLog.h"

#include "core/comms/SequencerCodes.h"

namespace orvane {

void VisitLog::AfterTick(const Sequencer& sequencer, const RegisterImage& image,
                         const std::string& now) {
    const bool running = sequencer.CommandRunning();
    if (running && !m_wasRunning && sequencer.Command() == CommandCode::WriteConfig) {
        m_written = image.Texts();
        m_readAfterWrite.reset();
    }
    m_wasRunning = running;
    const LiveFields& fields = sequencer.Fields();
    if (!fields[kLiveFieldsFilled - 1].empty() && (!m_live || m_live->fields != fields)) {
        m_live = LiveSnapshot{now, fields};
    }
}

void VisitLog::OnConfigurationShown(const Sequencer& sequencer, const RegisterImage& image) {
    if (sequencer.Command() != CommandCode::ReadConfig ||
        sequencer.LastReplyOutcome() != ConfigReplyOutcome::Loaded) {
        return;
    }
    if (!m_firstRead) {
        m_firstRead = image.Texts();
    }
    if (m_written) {
        m_readAfterWrite = image.Texts();
    }
}

std::optional<VisitRecord> ComposeVisit(const VisitLog& log, const RegisterTexts& windowImage,
                                        const std::optional<FoundFile>& file) {
    if (!file && !log.FirstRead()) {
        return std::nullopt;
    }
    VisitRecord visit;
    visit.foundFile = file ? file->path : std::string(kFoundByReading);
    visit.found = file ? file->texts : *log.FirstRead();
    visit.left = log.Written() ? *log.Written() : windowImage;
    visit.readBack = log.ReadAfterWrite();
    visit.identification = log.Identification();
    visit.live = log.LatestLive();
    return visit;
}

} // namespace orvane
