#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "app/ListDialog.h"
#include "app/ProgressPanel.h"
#include "core/comms/Prompter.h"
#include "core/comms/Sequencer.h"
#include "core/image/RegisterImage.h"

namespace orvane {

// The window's side of the commands that run over many ticks: shows their progress with
// "Cancel", runs the compares, and shows what they came to. The sequencer does the talking; this
// only asks it through its verbs and reads what it reports after each tick.
class CommandRunner final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(CommandRunner)

public:
    struct Context {
        Sequencer& sequencer;
        RegisterImage& image; // the window's
        IPrompter& prompter;
        ProgressPanel& panel;
        QWidget* dialogParent;
        int tickMs;
    };
    explicit CommandRunner(const Context& context);

    // After every sequencer tick.
    void OnTick();

    // "Compare with File...": the window's configuration against a file the user picks.
    void CompareWithFile();

    // The list shown last (a compare's differences), while it is open.
    ListDialog* ShownList() { return m_shownList; }

private:
    void ShowList(ListDialog::Content content);
    void Warn(const std::string& text, const std::string& caption);

    Context m_ctx;
    int m_runningCommand = 0; // the command the panel shows; 0 when none
    QPointer<ListDialog> m_shownList;
};

} // namespace orvane
