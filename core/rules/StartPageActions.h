#pragma once

#include <string_view>

#include "core/comms/Prompter.h"
#include "core/comms/SequencerAccess.h"
#include "core/image/ImageHistory.h"
#include "core/image/RegisterImage.h"

namespace orvane {

// The Start page's buttons: each refuses with its message, asks its question, and
// asks the sequencer for its command; nothing is sent from here.
class StartPageActions {
public:
    // `view` shows the configuration fields and the "Checksum" field; `history` is told of
    // every replacement of the image and of a file opened.
    StartPageActions(RegisterImage& image, const ISequencerStatus& status,
                     ISequencerRequests& requests, IPrompter& prompter, IConfigInfoView& view,
                     IImageHistory* history = nullptr)
        : m_image(image), m_status(status), m_requests(requests), m_prompter(prompter),
          m_view(view), m_history(history) {}

    // "Read Configuration File from Controller".
    void ReadConfiguration();
    // "Open existing Configuration File from PC".
    void OpenConfigurationFile();
    // "Reload Template"; false when refused.
    bool ReloadTemplate();
    // "Restore ORV Default".
    void RestoreDefault();
    // "Restart Controller".
    void RestartController();
    // "Refresh Controller Information".
    void RefreshControllerInformation();

    // Set by a refused configuration file: the page then stops refreshing its fields
    // until a file loads.
    bool FileError() const { return m_fileError; }

private:
    // True (after the message) when a command is running.
    bool RefusedAsBusy();
    void Warn(std::string_view text, std::string_view caption);
    bool Confirm(std::string_view text, std::string_view caption);

    RegisterImage& m_image;
    const ISequencerStatus& m_status;
    ISequencerRequests& m_requests;
    IPrompter& m_prompter;
    IConfigInfoView& m_view;
    IImageHistory* m_history;
    bool m_fileError = false;
};

} // namespace orvane
