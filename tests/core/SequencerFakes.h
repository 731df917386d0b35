#pragma once

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/Link.h"
#include "core/MainWindowView.h"
#include "core/Prompter.h"
#include "core/RegisterImage.h"
#include "core/Sequencer.h"

namespace orvane::test {

struct SentMessage {
    int tick;
    std::string bytes;
};

// Records every message with the tick it was sent on.
class RecordingLink final : public ILink {
public:
    std::function<int()> clock = [] { return 0; };
    std::vector<SentMessage> sent;
    std::deque<bool> openResults; // answers of Open in order; true once exhausted
    int opens = 0;
    int closes = 0;
    int monitorStarts = 0;
    int lastPort = -1;
    bool open = false;

    bool Open(int portNumber) override {
        ++opens;
        lastPort = portNumber;
        bool ok = true;
        if (!openResults.empty()) {
            ok = openResults.front();
            openResults.pop_front();
        }
        open = ok;
        return ok;
    }
    void StartMonitor() override { ++monitorStarts; }
    void Close() override {
        ++closes;
        open = false;
    }
    void Send(std::string_view bytes) override { sent.push_back({clock(), std::string(bytes)}); }
    bool IsOpen() const override { return open; }
};

class RecordingView final : public IMainWindowView, public ICommsPageView, public IConfigInfoView {
public:
    std::string tick, status, activity, connection, logStatus, controllerInfo;
    std::vector<std::string> statusHistory;
    std::vector<int> activityAnimations, loggingAnimations;
    bool loggingPlaying = false;
    int enables = 0, disables = 0;
    std::string buttonText;
    std::optional<bool> portSelectionEnabled;
    std::string checksum, date, issue, name, description;

    void ShowTick(const std::string& text) override { tick = text; }
    void ShowStatus(const std::string& text) override {
        status = text;
        statusHistory.push_back(text);
    }
    void ShowActivity(const std::string& text) override { activity = text; }
    void PlayActivityAnimation(int id) override { activityAnimations.push_back(id); }
    void ShowConnection(const std::string& text) override { connection = text; }
    void ShowLogStatus(const std::string& text) override { logStatus = text; }
    // The "not logging" picture is a still image: it does not count as playing.
    void PlayLoggingIndicator(int id) override {
        loggingAnimations.push_back(id);
        loggingPlaying = id == kAnimationLogging;
    }
    bool IsLoggingIndicatorPlaying() const override { return loggingPlaying; }
    void DisablePageControls() override { ++disables; }
    void EnablePageControls() override { ++enables; }
    void ShowControllerInfo(const std::string& text) override { controllerInfo = text; }

    void SetConnectButtonText(const std::string& text) override { buttonText = text; }
    void SetPortSelectionEnabled(bool enabled) override { portSelectionEnabled = enabled; }

    void ShowChecksum(const std::string& text) override { checksum = text; }
    void ShowConfigDate(const std::string& text) override { date = text; }
    void ShowConfigIssue(const std::string& text) override { issue = text; }
    void ShowConfigName(const std::string& text) override { name = text; }
    void ShowConfigDescription(const std::string& text) override { description = text; }
};

struct AskedMessage {
    std::string text, caption;
    MessageIcon icon;
    MessageButtons buttons;
};

// Answers from a script; `whileOpen` runs before each answer, as the event loop
// of a modal box runs timer ticks.
class ScriptedPrompter final : public IPrompter {
public:
    std::vector<AskedMessage> messages;
    std::deque<MessageAnswer> answers; // Ok or Yes... ; Ok/No by default when empty
    std::function<void()> whileOpen;
    std::optional<std::string> savePath;
    std::vector<SaveFileRequest> saveRequests;

    MessageAnswer ShowMessage(const std::string& text, const std::string& caption, MessageIcon icon,
                              MessageButtons buttons) override {
        messages.push_back({text, caption, icon, buttons});
        if (whileOpen) {
            auto run = std::exchange(whileOpen, nullptr);
            run();
        }
        if (!answers.empty()) {
            const MessageAnswer answer = answers.front();
            answers.pop_front();
            return answer;
        }
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    std::optional<std::string> AskSaveFile(const SaveFileRequest& request) override {
        saveRequests.push_back(request);
        if (whileOpen) {
            auto run = std::exchange(whileOpen, nullptr);
            run();
        }
        return savePath;
    }
    std::vector<std::string> AskOpenFiles(const OpenFileRequest&) override { return {}; }
};

class RecordingSettings final : public IPortSettings {
public:
    std::vector<int> stored;
    void StorePortNumber(int portNumber) override { stored.push_back(portNumber); }
};

// A sequencer wired to recording fakes, started as the main window starts it.
struct SequencerRig {
    CRegisterImage image;
    RecordingLink link;
    RecordingView view;
    ScriptedPrompter prompter;
    RecordingSettings settings;
    CSequencer seq{SequencerContext{image, link, view, view, view, prompter, settings}};

    SequencerRig() {
        image.LoadDefaultTemplate();
        link.clock = [this] { return seq.TickCount(); };
        seq.InitSequencer();
    }

    void Tick(int count = 1) {
        for (int i = 0; i < count; ++i) {
            seq.OnTimer();
        }
    }

    // Connects on the next tick (the first connection leaves "DO_NOTHING").
    void Connect(int port = 3) {
        seq.SetPortNumber(port);
        seq.SetPendingAction(PendingAction::ConnectOrDisconnect);
        Tick();
    }

    void Receive(std::string_view bytes) {
        for (const char c : bytes) {
            seq.OnReceiveChar(static_cast<std::uint8_t>(c));
        }
    }

    // Sends made on ticks at or after `from`, as "tick:bytes" offsets from it.
    std::vector<std::pair<int, std::string>> SendsFrom(int from) const {
        std::vector<std::pair<int, std::string>> out;
        for (const auto& m : link.sent) {
            if (m.tick >= from) {
                out.emplace_back(m.tick - from, m.bytes);
            }
        }
        return out;
    }
};

} // namespace orvane::test
