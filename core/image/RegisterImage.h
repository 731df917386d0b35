#pragma once

#include <array>
#include <optional>
#include <string>

namespace orvane {

inline constexpr int kRegisterCount = 400;
inline constexpr int kChecksumIndex = 400;
inline constexpr int kImageEntries = 401;

// A text field stored one character per register, ended by the first register 0.
struct TextField {
    int first;
    int last;
};
inline constexpr TextField kNameField{186, 208};
inline constexpr TextField kDescriptionField{212, 290};
inline constexpr TextField kDateField{347, 356};
inline constexpr int kIssueRegister = 211;

// Register 184 holds independent option bits; bit 5 enables data logging.
inline constexpr int kOptionRegister = 184;
inline constexpr unsigned kLogEnableBit = 0x20;

// Where the configuration information is shown; the main window implements it.
class IConfigInfoView {
public:
    virtual ~IConfigInfoView() = default;
    virtual void ShowChecksum(const std::string& text) = 0;
    virtual void ShowConfigDate(const std::string& text) = 0;
    virtual void ShowConfigIssue(const std::string& text) = 0;
    virtual void ShowConfigName(const std::string& text) = 0;
    virtual void ShowConfigDescription(const std::string& text) = 0;
};

using RegisterTexts = std::array<std::string, kImageEntries>;

// The controller's whole configuration: 400 registers and the checksum entry, each
// held as the text it is exchanged as (normally four upper-case hexadecimal digits).
// A text of another form stays exactly as stored.
class RegisterImage {
public:
    // Entries start empty, as the checksum field does until first computed.
    RegisterImage() = default;

    // Index 0 to 400; an index outside that range reads as empty and is not written.
    const std::string& Text(int index) const;
    void SetText(int index, std::string text);

    // The entry read as hexadecimal ("%x"); empty when it holds no number.
    std::optional<unsigned> Value(int index) const;
    // Stores "%04X" of the low 16 bits.
    void SetValue(int index, unsigned value);

    const RegisterTexts& Texts() const { return m_texts; }
    void SetTexts(const RegisterTexts& texts) { m_texts = texts; }

    // Every register 0 to 399 from the built-in template; the checksum entry is kept.
    void LoadDefaultTemplate();

    // The field's characters up to its first zero, as UTF-8.
    std::string DecodeTextField(TextField field) const;

    // Bit of register 184 (read as hexadecimal; a register holding no number has none set).
    bool OptionBit(unsigned bit) const;
    void SetOptionBit(unsigned bit, bool on);

    // The checksum entry in the checksum field, then issue, name, description and date.
    void ShowConfigurationInfo(IConfigInfoView& view) const;
    // Date, issue, name and description; then the checksum entry recomputed and shown.
    void RefreshConfigurationInfo(IConfigInfoView& view);

private:
    RegisterTexts m_texts{};
};

} // namespace orvane
