#pragma once

#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/comms/Sequencer.h"

namespace orvane::test {

using Sends = std::vector<std::pair<int, std::string>>;
using Strings = std::vector<std::string>;

// `text` with `part` written over it from position `at`.
inline std::string With(std::string text, std::size_t at, const std::string& part) {
    return text.replace(at, part.size(), part);
}

inline std::string FileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

inline RegisterImage DefaultImage() {
    RegisterImage image;
    image.LoadDefaultTemplate();
    return image;
}

class RecordingView final : public IMainWindowView, public ICommsPageView, public IConfigInfoView {
public:
    std::string activity, connection, logStatus, controllerInfo, buttonText;
    std::string checksum, shown; // the last checksum; every field shown, in order
    std::vector<int> activityAnimations, loggingAnimations;
    int enables = 0, disables = 0;
    bool portSelectionEnabled = true;

    std::string Connection() const {
        return connection + " | " + buttonText + (portSelectionEnabled ? " | ports on" : "") +
               " | " + activity;
    }
    void ShowTick(const std::string&) override {}
    void ShowStatus(const std::string&) override {} // read through Sequencer::StatusText
    void ShowActivity(const std::string& text) override { activity = text; }
    void PlayActivityAnimation(int id) override { activityAnimations.push_back(id); }
    void ShowConnection(const std::string& text) override { connection = text; }
    void ShowLogStatus(const std::string& text) override { logStatus = text; }
    void PlayLoggingIndicator(int id) override { loggingAnimations.push_back(id); }
    // The "not logging" picture is a still: it does not count as playing.
    bool IsLoggingIndicatorPlaying() const override {
        return !loggingAnimations.empty() && loggingAnimations.back() == kAnimationLogging;
    }
    void DisablePageControls() override { ++disables; }
    void EnablePageControls() override { ++enables; }
    void ShowControllerInfo(const std::string& text) override { controllerInfo = text; }
    void SetConnectButtonText(const std::string& text) override { buttonText = text; }
    void SetPortSelectionEnabled(bool enabled) override { portSelectionEnabled = enabled; }
    void ShowChecksum(const std::string& t) override { shown += " checksum=" + (checksum = t); }
    void ShowConfigDate(const std::string& t) override { shown += " date=" + t; }
    void ShowConfigIssue(const std::string& t) override { shown += " issue=" + t; }
    void ShowConfigName(const std::string& t) override { shown += " name=" + t; }
    void ShowConfigDescription(const std::string& t) override { shown += " desc=" + t; }
};

// Answers from a script; `whileOpen` runs once before the answer, as a modal box's event loop
// runs ticks. With `later` set, questions and file choices wait for Answer(), as window-modal.
class ScriptedPrompter final : public IPrompter {
public:
    Strings asked; // "caption: text" of each message, " [Yes/No]" added for a question
    std::optional<MessageAnswer> answer; // Ok or No by default
    std::function<void()> whileOpen = [] {};
    std::optional<std::string> savePath;
    std::vector<SaveFileRequest> saveRequests;
    Strings openPaths; // the files chosen in the open dialog; empty: cancelled
    std::vector<OpenFileRequest> openRequests;
    std::vector<std::function<void()>> openNotices; // how to close each, oldest first

    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon,
                              MessageButtons buttons) override {
        asked.push_back(caption + ": " + text +
                        (buttons == MessageButtons::YesNo ? " [Yes/No]" : ""));
        std::exchange(whileOpen, [] {})();
        return answer.value_or(buttons == MessageButtons::Ok              ? MessageAnswer::Ok
                               : buttons == MessageButtons::DiscardCancel ? MessageAnswer::Cancel
                                                                          : MessageAnswer::No);
    }
    void ShowNotice(const std::string& text, const std::string& caption, MessageIcon,
                    std::function<void()> closed) override {
        asked.push_back(caption + ": " + text);
        openNotices.push_back(std::move(closed));
    }
    void CloseNotices() {
        for (auto& close : std::exchange(openNotices, {})) {
            close();
        }
    }
    bool later = false;
    std::vector<std::function<void()>> unanswered; // oldest first

    void ShowQuestion(const std::string& text, const std::string& caption, MessageIcon icon,
                      MessageButtons buttons,
                      std::function<void(MessageAnswer)> answered) override {
        if (!later) {
            return IPrompter::ShowQuestion(text, caption, icon, buttons, std::move(answered));
        }
        unanswered.push_back([=, this, answered = std::move(answered)] {
            answered(ShowMessage(text, caption, icon, buttons));
        });
    }
    void AskSaveFileLater(const SaveFileRequest& request,
                          std::function<void(std::optional<std::string>)> chosen) override {
        if (!later) {
            return IPrompter::AskSaveFileLater(request, std::move(chosen));
        }
        unanswered.push_back(
            [=, this, chosen = std::move(chosen)] { chosen(AskSaveFile(request)); });
    }
    void Answer() { // the oldest open question or dialog, with the script as it stands
        auto answer = std::move(unanswered.front());
        unanswered.erase(unanswered.begin());
        answer();
    }
    std::optional<std::string> AskSaveFile(const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        std::exchange(whileOpen, [] {})();
        return savePath;
    }
    std::vector<std::string> AskOpenFiles(const OpenFileRequest& request) override {
        openRequests.push_back(request);
        std::exchange(whileOpen, [] {})();
        return openPaths;
    }
    std::optional<std::string> AskFolder(const std::string&) override { return folder; }
    std::optional<std::string> folder; // the folder chosen; empty: cancelled
};

// A sequencer wired to recording fakes, started as the main window starts it; the rig is also
// the link (recording each message with its tick) and the port settings.
struct SequencerRig : ILink, IPortSettings {
    Sends sent;
    int failingOpens = 0;        // how many opens fail before one succeeds
    LinkOpenFailure openFailure; // what a failing open says
    int opens = 0, closes = 0, monitorStarts = 0;
    std::vector<int> storedPorts;
    RegisterImage image;
    RecordingView view;
    ScriptedPrompter prompter;
    ImageHistory history;
    Sequencer seq{SequencerContext{image, *this, view, view, view, prompter, *this, &history}};

    SequencerRig() {
        image.LoadDefaultTemplate();
        history.MarkClean(image, ImageOrigin::Template, {});
        seq.InitSequencer();
    }
    bool Open(int) override { return ++opens > failingOpens; }
    LinkOpenFailure LastOpenFailure() const override { return openFailure; }
    void StartMonitor() override { ++monitorStarts; }
    void Close() override { ++closes; }
    void Send(std::string_view bytes) override { sent.emplace_back(seq.TickCount(), bytes); }
    bool IsOpen() const override { return false; } // the sequencer keeps its own flag
    void StorePortNumber(int portNumber) override { storedPorts.push_back(portNumber); }

    void Tick(int count = 1) {
        while (count-- > 0) {
            seq.OnTimer();
        }
    }
    void Connect(int port = 3) {
        seq.SelectPort(port);
        seq.RequestConnectOrDisconnect();
        Tick();
    }
    void Receive(std::string_view bytes) {
        for (const char c : bytes) {
            seq.OnReceiveChar(static_cast<std::uint8_t>(c));
        }
    }
    int Start(int command) {
        seq.RequestCommand(command);
        Tick();
        return seq.TickCount();
    }
    std::string Flags() const {
        return std::string(seq.IsConnected() ? "connected" : "disconnected") +
               (seq.IsBusy() ? " busy" : "") + (seq.CommandRunning() ? " running" : "") + " | " +
               std::string(StateName(seq.State())) + " | " +
               std::string(CommandName(seq.Command())) + " | pending " +
               std::to_string(seq.PendingAction());
    }
    Sends SendsFrom(int from) const {
        Sends out;
        for (const auto& [tick, bytes] : sent) {
            if (tick >= from) {
                out.emplace_back(tick - from, bytes);
            }
        }
        return out;
    }
};

} // namespace orvane::test
