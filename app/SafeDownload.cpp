#include "app/SafeDownload.h"

#include "controls/QtText.h"
#include "core/chain/ChainTexts.h"
#include "core/comms/SequencerTexts.h"
#include "core/reports/Comparison.h"

namespace orvane {

namespace {

QString Lines(const std::vector<std::string>& lines) {
    QStringList out;
    for (const std::string& line : lines) {
        out << Q(line);
    }
    return out.join('\n');
}

} // namespace

SafeDownload::SafeDownload(const Context& context, std::unique_ptr<IBackupStorage> storage)
    : m_ctx(context), m_storage(std::move(storage)),
      m_chain(m_ctx.sequencer, m_ctx.sequencer, m_ctx.image, *m_storage) {}

void SafeDownload::Start(const SafeWriteChoices& choices) {
    SafeWriteOptions options;
    options.backup = choices.backup;
    options.backupFolder = choices.backupFolder;
    options.preview = choices.preview;
    options.verify = choices.verify;
    if (m_running || !m_chain.Start(options)) {
        const ChainRefusal refusal =
            m_running ? ChainRefusal{std::string(texts::kBusy), std::string(texts::kBusyCaption)}
                      : DescribeChainRefusal(m_chain.Result());
        m_ctx.prompter.ShowMessage(refusal.text, refusal.caption, MessageIcon::Exclamation,
                                   MessageButtons::Ok);
        return;
    }
    m_running = true;
    m_question = nullptr;
    m_ctx.panel.ShowProgress(DescribeChainProgress(m_chain.Progress(), m_ctx.tickMs), true);
}

void SafeDownload::OnTick() {
    if (!m_running) {
        return;
    }
    m_chain.OnTick();
    if (m_chain.Finished()) {
        OnFinished();
        return;
    }
    m_ctx.panel.ShowProgress(DescribeChainProgress(m_chain.Progress(), m_ctx.tickMs), true);
    if (m_chain.State() == ChainState::AwaitingAnswer && m_question == nullptr) {
        Ask();
    }
}

void SafeDownload::Ask() {
    const Comparison comparison = CompareConfigurations(m_chain.ControllerImage(), m_ctx.image,
                                                        "the controller", "the window");
    m_question =
        m_ctx.showList({tr("Show what will change"), Q(ComparisonHeading(comparison)),
                        Q(ComparisonList(comparison)), QStringLiteral("download-changes.txt")},
                       ListDialog::Purpose::AskBeforeDownload);
    // Either way the next tick goes on with the chain; closing the box is "Cancel".
    connect(m_question, &QDialog::finished, this, [this](int answer) {
        m_chain.AnswerPreview(answer == QDialog::Accepted);
        if (m_chain.Finished()) {
            OnFinished();
        }
    });
}

void SafeDownload::Cancel() {
    if (!m_running) {
        return;
    }
    m_chain.Cancel();
    if (m_chain.Finished()) {
        OnFinished();
    }
}

void SafeDownload::OnFinished() {
    if (!m_running) {
        return;
    }
    m_running = false;
    if (m_question != nullptr) {
        m_question->disconnect(this);
        m_question->close();
    }
    const SafeWriteResult& result = m_chain.Result();
    const std::string outcome = DescribeChainOutcome(result);
    m_ctx.panel.ShowOutcome(Q(outcome));
    if (result.failure == ChainFailure::VerifyMismatch) {
        m_ctx.showList({Q(std::string(kVerificationFailedCaption)), Q(outcome),
                        Lines(MismatchLines(result)), QStringLiteral("verification-failed.txt")},
                       ListDialog::Purpose::Show);
    } else if (result.state == ChainState::Failed && result.failure != ChainFailure::PortLost) {
        // A lost port has the sequencer's own box already.
        m_ctx.prompter.ShowNotice(outcome,
                                  result.failedStep == ChainStep::Verify
                                      ? std::string(kVerificationFailedCaption)
                                      : std::string("Download stopped"),
                                  MessageIcon::Exclamation, [] {});
    }
}

} // namespace orvane
