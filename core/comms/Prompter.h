#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace orvane {

enum class MessageIcon { Exclamation, Error, Information, Question };
enum class MessageButtons { Ok, YesNo, DiscardCancel };
enum class MessageAnswer { Ok, Yes, No, Discard, Cancel };

// A file dialog's types, e.g. "Configuration files (*.txt)"; all files are offered after them.
using FileTypes = std::vector<std::string>;

struct SaveFileRequest {
    std::string proposedName;     // may be empty
    std::string defaultExtension; // without the dot, e.g. "txt"
    bool confirmOverwrite = true;
    FileTypes fileTypes = {};
};

struct OpenFileRequest {
    bool allowMultiple = false;
    FileTypes fileTypes = {};
};

inline const std::string kConfigurationFileType = "Configuration files (*.txt)";
inline const std::string kLogFileType = "Log files (*.txt)";

// Every message box and file dialog the system shows goes through here, so the
// core can ask questions without a toolkit and tests can script the answers.
// A prompter may run the event loop while it waits (further timer ticks then
// arrive), exactly as a modal message box does; but a timer whose own tick asks
// never ticks again until the answer comes, so a tick tells through ShowNotice and
// asks through ShowQuestion and AskSaveFileLater, which need not wait.
class IPrompter {
public:
    virtual ~IPrompter() = default;
    virtual MessageAnswer ShowMessage(const std::string& text, const std::string& caption,
                                      MessageIcon icon, MessageButtons buttons) = 0;
    // The callbacks are taken by value because the front ends' overrides keep them; these
    // defaults only call them.
    // NOLINTBEGIN(performance-unnecessary-value-param)
    // A box with an OK button that stays on screen while the caller goes on; `closed`
    // runs once, when it is closed. A prompter that cannot show one without waiting
    // shows it as a message and reports it closed at once.
    virtual void ShowNotice(const std::string& text, const std::string& caption, MessageIcon icon,
                            std::function<void()> closed) {
        ShowMessage(text, caption, icon, MessageButtons::Ok);
        closed();
    }
    // A question whose answer comes through `answered`, once, maybe after further ticks.
    // A prompter that cannot ask without waiting answers before returning.
    virtual void ShowQuestion(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons, std::function<void(MessageAnswer)> answered) {
        answered(ShowMessage(text, caption, icon, buttons));
    }
    // The chosen path, or empty when cancelled.
    virtual std::optional<std::string> AskSaveFile(const SaveFileRequest& request) = 0;
    // AskSaveFile whose choice comes through `chosen`, as ShowQuestion's answer does.
    virtual void AskSaveFileLater(const SaveFileRequest& request,
                                  std::function<void(std::optional<std::string>)> chosen) {
        chosen(AskSaveFile(request));
    }
    // NOLINTEND(performance-unnecessary-value-param)
    // The chosen paths in selection order, or empty when cancelled.
    virtual std::vector<std::string> AskOpenFiles(const OpenFileRequest& request) = 0;
    // A folder, starting at `current`; empty when cancelled. Front ends that never ask
    // for one keep this.
    virtual std::optional<std::string> AskFolder(const std::string& current) {
        static_cast<void>(current);
        return std::nullopt;
    }
};

} // namespace orvane
