#include "app/CommandRunner.h"

#include <QFileInfo>

#include "controls/QtText.h"
#include "core/reports/Comparison.h"

namespace orvane {

namespace {

constexpr const char* kCompareFileCaption = "Compare with File";

} // namespace

CommandRunner::CommandRunner(const Context& context) : m_ctx(context) {}

void CommandRunner::OnTick() {
    const Sequencer& seq = m_ctx.sequencer;
    if (seq.IsBusy()) {
        m_runningCommand = seq.Command();
        const std::string_view activity = CommandActivity(m_runningCommand);
        m_ctx.panel.ShowProgress(DescribeProgress(activity, seq.Progress(), m_ctx.tickMs), false);
    } else if (m_runningCommand != 0) {
        m_ctx.panel.ShowOutcome(Q(std::string(CommandActivity(m_runningCommand))) +
                                tr(": finished"));
        m_runningCommand = 0;
    }
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
              QFileInfo(Q(chosen.back())).completeBaseName() + "-differences.txt"});
}

void CommandRunner::ShowList(ListDialog::Content content) {
    if (m_shownList != nullptr) {
        m_shownList->close();
    }
    auto* dialog = new ListDialog(std::move(content), ListDialog::Purpose::Show, m_ctx.prompter,
                                  m_ctx.dialogParent);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    m_shownList = dialog;
    // Not exec(): a dialog opened from a tick would stop the timers until it closed.
    dialog->open();
}

void CommandRunner::Warn(const std::string& text, const std::string& caption) {
    m_ctx.prompter.ShowMessage(text, caption, MessageIcon::Exclamation, MessageButtons::Ok);
}

} // namespace orvane
