#pragma once

#include <string>
#include <utility>

namespace orvane {

// The Start page's additions to a download. All off (the default), the download is the plain
// one and nothing else is sent.
struct SafeWriteChoices {
    bool backup = false; // "Back up the controller's configuration first"
    std::string backupFolder;
    bool preview = false; // "Show what will change and ask first"
    bool verify = false;  // "Read back and verify"

    bool AnyOn() const { return backup || preview || verify; }
    bool operator==(const SafeWriteChoices&) const = default;
};

// Where the choices are remembered between runs.
class ISafeWriteStore {
public:
    virtual ~ISafeWriteStore() = default;
    virtual SafeWriteChoices LoadSafeWriteChoices() const = 0;
    virtual void StoreSafeWriteChoices(const SafeWriteChoices& choices) = 0;
};

// The choices as the page edits them: each change is remembered at once.
class DownloadChoices {
public:
    explicit DownloadChoices(ISafeWriteStore& store)
        : m_store(store), m_choices(store.LoadSafeWriteChoices()) {}

    const SafeWriteChoices& Choices() const { return m_choices; }
    void SetBackup(bool on) { Change(&SafeWriteChoices::backup, on); }
    void SetPreview(bool on) { Change(&SafeWriteChoices::preview, on); }
    void SetVerify(bool on) { Change(&SafeWriteChoices::verify, on); }
    void SetBackupFolder(const std::string& folder) {
        Change(&SafeWriteChoices::backupFolder, folder);
    }
    // The folder's field and "Choose..." are only of use while the backup is on.
    bool FolderInUse() const { return m_choices.backup; }

private:
    template <typename T>
    void Change(T SafeWriteChoices::*member, T value) {
        if (m_choices.*member != value) {
            m_choices.*member = std::move(value);
            m_store.StoreSafeWriteChoices(m_choices);
        }
    }

    ISafeWriteStore& m_store;
    SafeWriteChoices m_choices;
};

} // namespace orvane
