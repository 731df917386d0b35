#include "core/image/RegisterImage.h"

#include "core/image/Checksum.h"
#include "core/image/Conversions.h"
#include "core/image/DefaultTemplate.h"

namespace orvane {

namespace {

bool InImage(int index) {
    return index >= 0 && index < kImageEntries;
}

const std::string kNoText;

// Registers hold 16-bit character codes; the texts we hand out are UTF-8.
void AppendUtf8(std::string& out, unsigned code) {
    if (code >= 0xD800 && code <= 0xDFFF) {
        code = 0xFFFD; // a lone surrogate is no character
    }
    if (code < 0x80) {
        out.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (code >> 6)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xE0 | (code >> 12)));
        out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

} // namespace

const std::string& RegisterImage::Text(int index) const {
    return InImage(index) ? m_texts[static_cast<std::size_t>(index)] : kNoText;
}

void RegisterImage::SetText(int index, std::string text) {
    if (InImage(index)) {
        m_texts[static_cast<std::size_t>(index)] = std::move(text);
    }
}

std::optional<unsigned> RegisterImage::Value(int index) const {
    return ScanHex(Text(index));
}

void RegisterImage::SetValue(int index, unsigned value) {
    SetText(index, FormatHexWord(value));
}

void RegisterImage::LoadDefaultTemplate() {
    for (int i = 0; i < kRegisterCount; ++i) {
        SetValue(i, 0xFFFF);
    }
    for (const TemplateRun& run : DefaultTemplateRuns()) {
        for (int i = run.first; i <= run.last; ++i) {
            SetValue(i, run.value);
        }
    }
}

std::string RegisterImage::DecodeTextField(TextField field) const {
    std::string text;
    for (int i = field.first; i <= field.last; ++i) {
        // A register that holds no number reads as zero and so ends the text.
        const unsigned code = Value(i).value_or(0);
        if (code == 0) {
            break;
        }
        AppendUtf8(text, code & 0xFFFFu);
    }
    return text;
}

bool RegisterImage::OptionBit(unsigned bit) const {
    return (Value(kOptionRegister).value_or(0) & bit) != 0;
}

void RegisterImage::SetOptionBit(unsigned bit, bool on) {
    const unsigned now = Value(kOptionRegister).value_or(0);
    SetValue(kOptionRegister, on ? (now | bit) : (now & ~bit));
}

void RegisterImage::ShowConfigurationInfo(IConfigInfoView& view) const {
    view.ShowChecksum(Text(kChecksumIndex));
    view.ShowConfigIssue(FormatDecimal(Value(kIssueRegister).value_or(0)));
    view.ShowConfigName(DecodeTextField(kNameField));
    view.ShowConfigDescription(DecodeTextField(kDescriptionField));
    view.ShowConfigDate(DecodeTextField(kDateField));
}

void RegisterImage::RefreshConfigurationInfo(IConfigInfoView& view) {
    view.ShowConfigDate(DecodeTextField(kDateField));
    view.ShowConfigIssue(FormatDecimal(Value(kIssueRegister).value_or(0)));
    view.ShowConfigName(DecodeTextField(kNameField));
    view.ShowConfigDescription(DecodeTextField(kDescriptionField));
    SetText(kChecksumIndex, ChecksumText(m_texts));
    view.ShowChecksum(Text(kChecksumIndex));
}

} // namespace orvane
