#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include "app/ListDialog.h"
#include "app/ProgressPanel.h"
#include "app/SafeDownload.h"
#include "core/comms/Prompter.h"
#include "core/comms/Sequencer.h"
#include "core/image/RegisterImage.h"
#include "core/rules/DownloadChoices.h"

namespace orvane {

// The window's side of the commands that run over many ticks: shows their progress with
// "Cancel", runs the compares and the download, and shows what they came to. The sequencer does
// the talking; this only asks it through its verbs and reads what it reports after each tick.
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
    // `storage` keeps the download's backups; the real one unless a test gives its own.
    explicit CommandRunner(const Context& context, std::unique_ptr<IBackupStorage> storage = {});

    // After every sequencer tick.
    void OnTick();

    // "Download Configuration File to Controller": the plain download when no choice is on,
    // otherwise the chain the choices ask for.
    void Download(const SafeWriteChoices& choices);
    // "Compare with Controller": the window's configuration against the controller's, read
    // into a copy of its own.
    void CompareWithController();
    // "Compare with File...": the window's configuration against a file the user picks.
    void CompareWithFile();
    // The progress panel's "Cancel": the running chain or command stops between its steps.
    void OnCancel();

    // The list shown last (a compare's differences, the question before a download, the
    // registers a verification found wrong), while it is open.
    ListDialog* ShownList() { return m_shownList; }
    // The last download made with any of the choices on; none when the last was a plain one.
    const SafeWriteResult* LastSafeDownload() const;

private:
    ListDialog* ShowList(ListDialog::Content content, ListDialog::Purpose purpose);
    void Warn(const std::string& text, const std::string& caption);
    void ShowCommandEnd();
    void ShowComparison();

    Context m_ctx;
    SafeDownload m_safe;
    int m_runningCommand = 0; // the command the panel shows; 0 when none
    bool m_comparing = false; // the command asked for or running is a compare's read
    bool m_cancelAsked = false;
    bool m_cancelRefused = false; // the command was too far on to cancel
    bool m_lastDownloadPlain = true;
    QPointer<ListDialog> m_shownList;
};

} // namespace orvane
