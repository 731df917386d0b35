#include "core/rules/StartPageActions.h"

#include "core/comms/SequencerCodes.h"
#include "core/comms/SequencerTexts.h"
#include "core/rules/ConfigurationLoad.h"

namespace orvane {

namespace {

constexpr std::string_view kRestoreQuestion = "Are you sure you want to restore settings?";
constexpr std::string_view kRestoreCaption = "Warning Default Settings Restoration";
constexpr std::string_view kRestartQuestion =
    "This action will restart the controller\nDo you want to restart the controller?";
constexpr std::string_view kRestartCaption = "Controller restarting!";

} // namespace

void StartPageActions::Warn(std::string_view text, std::string_view caption) {
    m_prompter.ShowMessage(std::string(text), std::string(caption), MessageIcon::Exclamation,
                           MessageButtons::Ok);
}

bool StartPageActions::Confirm(std::string_view text, std::string_view caption) {
    return m_prompter.ShowMessage(std::string(text), std::string(caption), MessageIcon::Exclamation,
                                  MessageButtons::YesNo) == MessageAnswer::Yes;
}

bool StartPageActions::RefusedAsBusy() {
    if (!m_status.IsBusy()) {
        return false;
    }
    Warn(texts::kBusy, texts::kBusyCaption);
    return true;
}

void StartPageActions::ReadConfiguration() {
    if (RefusedAsBusy()) {
        return;
    }
    if (m_image.OptionBit(kLogEnableBit)) {
        Warn(texts::kLogActive, texts::kLogActiveCaption);
    } else if (m_status.IsConnected()) {
        m_requests.RequestCommand(CommandCode::ReadConfig);
    } else {
        Warn(texts::kNotConnected, texts::kNotConnectedCaption);
    }
}

void StartPageActions::OpenConfigurationFile() {
    LoadConfigurationFile({m_image, m_status, m_requests, m_prompter, m_view, m_history},
                          m_fileError);
}

bool StartPageActions::ReloadTemplate() {
    if (RefusedAsBusy()) {
        return false;
    }
    const std::string previousOptions = m_image.Text(kOptionRegister);
    if (m_history != nullptr) {
        m_history->BeforeReplace(m_image, ImageReplacement::Template, {});
    }
    m_image.LoadDefaultTemplate();
    m_image.RefreshConfigurationInfo(m_view);
    CheckLogEnableChange(previousOptions, m_image, m_requests, m_prompter);
    return true;
}

void StartPageActions::RestoreDefault() {
    if (RefusedAsBusy()) {
        return;
    }
    if (!m_status.IsConnected()) {
        Warn(texts::kNotConnected, texts::kNotConnectedCaption);
        return;
    }
    if (Confirm(kRestoreQuestion, kRestoreCaption) && ReloadTemplate()) {
        m_requests.RequestCommand(CommandCode::WriteDefault);
    }
}

void StartPageActions::RestartController() {
    if (RefusedAsBusy()) {
        return;
    }
    if (m_status.IsConnected()) {
        m_requests.RequestCommand(CommandCode::Restart);
    } else {
        Warn(texts::kNotConnected, texts::kNotConnectedCaption);
    }
}

void StartPageActions::RefreshControllerInformation() {
    if (RefusedAsBusy() || !Confirm(kRestartQuestion, kRestartCaption)) {
        return;
    }
    // The question let ticks run: a command asked for before it may be running now.
    if (RefusedAsBusy()) {
        return;
    }
    if (m_status.IsConnected()) {
        m_requests.RequestControllerInformation();
    } else {
        Warn(texts::kNotConnected, texts::kNotConnectedCaption);
    }
}

} // namespace orvane
