#include "app/CommandRunner.h"

#include <QFileInfo>

#include "controls/QtText.h"
#include "core/comms/SequencerCodes.h"
#include "core/comms/SequencerTexts.h"
#include "core/reports/Comparison.h"
#include "serial/SystemServices.h"
#include "storage/BackupFiles.h"

namespace orvane {

namespace {

constexpr const char* kCompareFileCaption = "Compare with File";
constexpr const char* kCompareControllerCaption = "Compare with Controller";

std::unique_ptr<IBackupStorage> RealStorage() {
    return std::make_unique<DurableBackupStorage>([] { return LocalTime(std::time(nullptr)); });
}

} // namespace

CommandRunner::CommandRunner(const Context& context, std::unique_ptr<IBackupStorage> storage)
    : m_ctx(context), m_safe({m_ctx.sequencer, m_ctx.image, m_ctx.prompter, m_ctx.panel,
                              [this](ListDialog::Content content, ListDialog::Purpose purpose) {
                                  return ShowList(std::move(content), purpose);
                              },
                              m_ctx.tickMs},
                             storage ? std::move(storage) : RealStorage()) {}

void CommandRunner::OnTick() {
    if (m_safe.Running()) {
        m_safe.OnTick();
        return;
    }
    const Sequencer& seq = m_ctx.sequencer;
    if (!seq.IsBusy()) {
        if (m_runningCommand != 0) {
            ShowCommandEnd();
        }
        return;
    }
    m_runningCommand = seq.Command();
    if (m_runningCommand == CommandCode::WriteConfig) {
        m_lastDownloadPlain = true;
    }
    std::string activity =
        m_comparing ? kCompareControllerCaption : std::string(CommandActivity(m_runningCommand));
    ProgressLine line = DescribeProgress(activity, seq.Progress(), m_ctx.tickMs);
    if (m_cancelAsked) {
        line.text += " (cancelling)";
    }
    m_ctx.panel.ShowProgress(line, !m_cancelAsked && !m_cancelRefused);
}

void CommandRunner::ShowCommandEnd() {
    const std::string activity =
        m_comparing ? kCompareControllerCaption : std::string(CommandActivity(m_runningCommand));
    const bool read = m_comparing || m_runningCommand == CommandCode::ReadConfig;
    if (m_cancelAsked) {
        m_ctx.panel.ShowOutcome(
            Q(activity + ": cancelled" +
              (read ? "; the window's configuration is unchanged" : std::string())));
    } else if (!m_ctx.sequencer.IsConnected()) {
        m_ctx.panel.ShowOutcome(Q(activity + ": stopped, the port was closed"));
    } else if (m_comparing) {
        ShowComparison();
    } else {
        m_ctx.panel.ShowOutcome(Q(activity + ": finished"));
    }
    m_comparing = false;
    m_cancelAsked = false;
    m_cancelRefused = false;
    m_runningCommand = 0;
}

void CommandRunner::Download(const SafeWriteChoices& choices) {
    if (!choices.AnyOn() && !m_safe.Running()) {
        m_ctx.sequencer.OnDownloadConfiguration();
        return;
    }
    if (choices.backup && choices.backupFolder.empty()) {
        Warn("The download was not started: no backup folder is chosen. Nothing was sent.",
             "Download not started");
        return;
    }
    m_safe.Start(choices);
    if (m_safe.Running()) {
        m_lastDownloadPlain = false;
    }
}

const SafeWriteResult* CommandRunner::LastSafeDownload() const {
    const bool made = !m_safe.Running() && m_safe.Result().state != ChainState::Idle;
    return made && !m_lastDownloadPlain ? &m_safe.Result() : nullptr;
}

void CommandRunner::CompareWithController() {
    Sequencer& seq = m_ctx.sequencer;
    if (!seq.IsConnected()) {
        Warn(std::string(texts::kNotConnected), std::string(texts::kNotConnectedCaption));
    } else if (m_safe.Running() || seq.IsBusy() || !seq.RequestConfigurationCopy()) {
        Warn(std::string(texts::kBusy), std::string(texts::kBusyCaption));
    } else {
        m_comparing = true;
        m_cancelAsked = false;
    }
}

void CommandRunner::ShowComparison() {
    const std::optional<ConfigurationCopy>& copy = m_ctx.sequencer.LatestCopy();
    if (!copy || !copy->texts) {
        const bool corrupted = copy && copy->outcome == ConfigReplyOutcome::ChecksumMismatch;
        m_ctx.panel.ShowOutcome(tr("Compare with Controller: nothing to compare"));
        m_ctx.prompter.ShowNotice(corrupted ? "The configuration received has a wrong checksum: "
                                              "nothing was compared."
                                            : std::string(texts::kNoReply),
                                  kCompareControllerCaption, MessageIcon::Exclamation, [] {});
        return;
    }
    RegisterImage controller;
    controller.SetTexts(*copy->texts);
    const Comparison comparison =
        CompareConfigurations(m_ctx.image, controller, "the window", "the controller");
    m_ctx.panel.ShowOutcome(tr("Compare with Controller: finished"));
    ShowList({tr("Compare with Controller"), Q(ComparisonHeading(comparison)),
              Q(ComparisonList(comparison)), QStringLiteral("controller-differences.txt")},
             ListDialog::Purpose::Show);
}

void CommandRunner::CompareWithFile() {
    const std::vector<std::string> chosen = m_ctx.prompter.AskOpenFiles({false});
    if (chosen.empty()) {
        return;
    }
    const ComparisonFile file = ReadComparisonFile(chosen.back());
    if (!file.image) {
        Warn(file.error, kCompareFileCaption);
        return;
    }
    const Comparison comparison =
        CompareConfigurations(m_ctx.image, *file.image, "the window", chosen.back());
    ShowList({tr("Compare with File"), Q(ComparisonHeading(comparison)),
              Q(ComparisonList(comparison)),
              QFileInfo(Q(chosen.back())).completeBaseName() + "-differences.txt"},
             ListDialog::Purpose::Show);
}

void CommandRunner::OnCancel() {
    if (m_safe.Running()) {
        m_safe.Cancel();
        return;
    }
    if (!m_ctx.sequencer.IsBusy()) {
        return;
    }
    if (m_ctx.sequencer.RequestCancelCommand()) {
        m_cancelAsked = true;
        return;
    }
    // Past what the controller takes at once: it runs to its end.
    m_cancelRefused = true;
    ProgressLine line = DescribeProgress(CommandActivity(m_runningCommand),
                                         m_ctx.sequencer.Progress(), m_ctx.tickMs);
    line.text += " (too far to cancel)";
    m_ctx.panel.ShowProgress(line, false);
}

ListDialog* CommandRunner::ShowList(ListDialog::Content content, ListDialog::Purpose purpose) {
    if (m_shownList != nullptr) {
        m_shownList->close();
    }
    auto* dialog = new ListDialog(std::move(content), purpose, m_ctx.prompter, m_ctx.dialogParent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_shownList = dialog;
    // Not exec(): a dialog opened from a tick would stop the timers until it closed.
    dialog->open();
    return dialog;
}

void CommandRunner::Warn(const std::string& text, const std::string& caption) {
    m_ctx.prompter.ShowMessage(text, caption, MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace orvane
