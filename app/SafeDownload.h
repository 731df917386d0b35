#pragma once

#include <functional>
#include <memory>

#include <QObject>
#include <QPointer>

#include "app/ListDialog.h"
#include "app/ProgressPanel.h"
#include "core/chain/BackupStorage.h"
#include "core/chain/SafeWriteChain.h"
#include "core/comms/Prompter.h"
#include "core/comms/Sequencer.h"
#include "core/rules/DownloadChoices.h"

namespace orvane {

// The window's download with the Start page's additions: backup, the question listing what
// will change, and the read-back verification. The chain does the work through the sequencer's
// verbs; this starts it, feeds it the ticks, asks the question, and shows how it went.
class SafeDownload final : public QObject {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SafeDownload)

public:
    using ShowList = std::function<ListDialog*(ListDialog::Content, ListDialog::Purpose)>;
    struct Context {
        Sequencer& sequencer;
        const RegisterImage& image; // the window's: written, never changed
        IPrompter& prompter;
        ProgressPanel& panel;
        ShowList showList;
        int tickMs;
    };
    SafeDownload(const Context& context, std::unique_ptr<IBackupStorage> storage);

    // Refused with a box saying why when it cannot start; nothing is sent then.
    void Start(const SafeWriteChoices& choices);
    // After every sequencer tick.
    void OnTick();
    // "Cancel" of the progress panel.
    void Cancel();

    bool Running() const { return m_running; }
    // The last chain's result; Idle before the first.
    const SafeWriteResult& Result() const { return m_chain.Result(); }

private:
    void Ask();
    void OnFinished();

    Context m_ctx;
    std::unique_ptr<IBackupStorage> m_storage;
    SafeWriteChain m_chain;
    bool m_running = false;
    QPointer<ListDialog> m_question;
};

} // namespace orvane
