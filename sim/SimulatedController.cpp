#include "SimulatedController.h"

#include <algorithm>

#include "ControllerTexts.h"
#include "core/image/Checksum.h"
#include "core/image/Conversions.h"

namespace orvane::sim {

namespace {

constexpr SimTime kRecordPeriod{1000};
constexpr SimTime kRestartSilence{1500};
// A forgotten menu or an abandoned configuration text does not keep the device mute.
constexpr SimTime kMenuTimeout{60'000};
constexpr SimTime kConfigurationTimeout{20'000};
// After a long pause (a suspended host) the records resume instead of catching up.
constexpr SimTime kCatchUpLimit{60'000};
constexpr std::size_t kTextLimit = 4000;

bool IsLineSpace(char c) {
    return c == '\r' || c == '\n' || c == ' ';
}

} // namespace

SimulatedController::SimulatedController() {
    m_config.LoadDefaultTemplate();
    m_config.SetText(kChecksumIndex, ChecksumText(m_config.Texts()));
}

void SimulatedController::SetConfiguration(const RegisterTexts& texts) {
    RegisterTexts copy;
    for (int i = 0; i < kRegisterCount; ++i) {
        const auto index = static_cast<std::size_t>(i);
        copy[index] = FormatHexWord(ScanHex(texts[index]).value_or(0));
    }
    copy[kChecksumIndex] = ChecksumText(copy);
    m_config.SetTexts(copy);
    ++m_configChanges;
}

SimTime SimulatedController::NextEventTime() const {
    switch (m_mode) {
    case Mode::LiveRecords:
        return m_nextRecord;
    case Mode::Menu:
        return std::min(m_nextRecord, m_lastKey + kMenuTimeout);
    case Mode::TakingConfiguration:
        return std::min(m_nextRecord, m_lastKey + kConfigurationTimeout);
    case Mode::Restarting:
        return m_restartDone;
    }
    return m_nextRecord;
}

void SimulatedController::AdvanceTo(SimTime now) {
    if (now < m_now) {
        return;
    }
    m_now = now;
    if (m_mode == Mode::Restarting) {
        if (now < m_restartDone) {
            return;
        }
        FinishRestart(m_restartDone);
    }
    if (m_mode == Mode::Menu && now >= m_lastKey + kMenuTimeout) {
        m_mode = Mode::LiveRecords;
    }
    if (m_mode == Mode::TakingConfiguration && now >= m_lastKey + kConfigurationTimeout) {
        Send(kTimeoutRefusedText);
        m_mode = Mode::Menu;
    }
    if (now - m_nextRecord > kCatchUpLimit) {
        m_nextRecord = now - (now - m_bootTime) % kRecordPeriod;
    }
    // The plant runs on in the menu too; only the records pause.
    while (m_nextRecord <= now) {
        m_plant.Step(m_config, m_nextRecord);
        if (m_mode == Mode::LiveRecords && !m_stalled) {
            SendLiveRecord(m_nextRecord);
        }
        m_nextRecord += kRecordPeriod;
    }
}

void SimulatedController::Receive(std::string_view bytes, SimTime now) {
    AdvanceTo(now);
    for (char byte : bytes) {
        OnKey(byte, m_now);
    }
}

std::string SimulatedController::TakeOutput() {
    std::string out;
    out.swap(m_output);
    return out;
}

void SimulatedController::OnKey(char key, SimTime now) {
    switch (m_mode) {
    case Mode::LiveRecords:
        if (key == 'c') {
            m_mode = Mode::Menu;
            m_showArmed = false;
            m_lastKey = now;
            Send(kMenuText);
        }
        break;
    case Mode::Menu:
        m_lastKey = now;
        OnMenuKey(key, now);
        break;
    case Mode::TakingConfiguration:
        m_lastKey = now;
        OnConfigurationByte(key, now);
        break;
    case Mode::Restarting:
        break; // a booting controller hears nothing
    }
}

void SimulatedController::OnMenuKey(char key, SimTime now) {
    if (key == '\r' || key == '\n') {
        return;
    }
    const bool secondShow = key == 's' && m_showArmed;
    m_showArmed = key == 's' && !secondShow;
    switch (key) {
    case 'c':
        Send(kMenuText);
        break;
    case 's':
        Send(secondShow ? ConfigurationDump(m_config) : kPressAgainText);
        break;
    case 'r':
        m_incoming.clear();
        m_mode = Mode::TakingConfiguration;
        Send(kSendConfigurationText);
        break;
    case 'x': {
        RegisterImage defaults;
        defaults.LoadDefaultTemplate();
        SetConfiguration(defaults.Texts());
        Send(kDefaultsRestoredText);
        break;
    }
    case 'z':
        Send(kRestartingText);
        m_mode = Mode::Restarting;
        m_restartDone = now + kRestartSilence;
        break;
    case ' ':
        Send(kLeaveMenuText);
        m_mode = Mode::LiveRecords;
        break;
    default:
        break;
    }
}

void SimulatedController::OnConfigurationByte(char byte, SimTime) {
    if (m_incoming.empty() && byte != '<') {
        return; // whatever precedes the text
    }
    m_incoming.push_back(byte);
    const bool ended = m_incoming.size() >= 5 && m_incoming.ends_with("> END");
    if (ended || m_incoming.size() >= kTextLimit) {
        FinishConfiguration();
    }
}

// Read like a configuration reply: 401 groups of four characters after "<", line
// breaks and blanks skipped; every group must be a hexadecimal word.
void SimulatedController::FinishConfiguration() {
    m_mode = Mode::Menu;
    RegisterTexts groups{};
    std::size_t group = 0;
    std::string current;
    for (std::size_t i = 1; i < m_incoming.size() && group < kImageEntries; ++i) {
        if (IsLineSpace(m_incoming[i])) {
            continue;
        }
        current.push_back(m_incoming[i]);
        if (current.size() == 4) {
            groups[group++] = current;
            current.clear();
        }
    }
    m_incoming.clear();
    const bool complete = group == kImageEntries;
    const bool allWords =
        complete && std::all_of(groups.begin(), groups.end(),
                                [](const std::string& g) { return IsHexWord(g); });
    if (!allWords) {
        Send(kMalformedRefusedText);
        return;
    }
    if (ScanHex(groups[kChecksumIndex]) != ChecksumOf(groups)) {
        Send(kChecksumRefusedText);
        return;
    }
    if (m_corruptRegister && *m_corruptRegister >= 0 && *m_corruptRegister < kRegisterCount) {
        std::string& word = groups[static_cast<std::size_t>(*m_corruptRegister)];
        word = FormatHexWord(*ScanHex(word) ^ 1u);
    }
    SetConfiguration(groups);
    Send(kConfigurationAcceptedText);
}

void SimulatedController::FinishRestart(SimTime now) {
    m_mode = Mode::LiveRecords;
    m_bootTime = now;
    m_nextRecord = now + kRecordPeriod;
    m_plant.Restart();
    Send(IdentificationText());
}

void SimulatedController::SendLiveRecord(SimTime at) {
    const auto upTime = static_cast<std::uint64_t>((at - m_bootTime) / kRecordPeriod);
    Send(FormatLiveRecord(m_plant.Sample(m_config, upTime)));
    if (m_garbage) {
        SendGarbage();
    }
}

// Line noise: 3 to 12 bytes of any value but NUL.
void SimulatedController::SendGarbage() {
    std::uniform_int_distribution<int> length(3, 12);
    std::uniform_int_distribution<int> value(1, 255);
    for (int n = length(m_noise); n > 0; --n) {
        m_output.push_back(static_cast<char>(value(m_noise)));
    }
}

} // namespace orvane::sim
