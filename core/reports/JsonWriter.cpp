#include "core/reports/JsonWriter.h"

#include <cstdio>

namespace orvane {

namespace {

// Length of the well-formed UTF-8 sequence at text[i], or 0 when there is none.
std::size_t Utf8Length(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned lead = byte(i);
    std::size_t length = 0;
    unsigned low = 0x80; // the second byte's range rules out overlong forms and surrogates
    unsigned high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (i + length > text.size() || byte(i + 1) < low || byte(i + 1) > high) {
        return 0;
    }
    for (std::size_t k = 2; k < length; ++k) {
        if (byte(i + k) < 0x80 || byte(i + k) > 0xBF) {
            return 0;
        }
    }
    return length;
}

void AppendEscape(std::string& out, unsigned code) {
    char escape[8];
    std::snprintf(escape, sizeof escape, "\\u%04X", code);
    out += escape;
}

} // namespace

std::string JsonQuoted(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size();) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x80) {
            if (const std::size_t length = Utf8Length(text, i)) {
                out.append(text.substr(i, length));
                i += length;
            } else {
                AppendEscape(out, c);
                ++i;
            }
            continue;
        }
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            if (c < 0x20 || c == 0x7F) {
                AppendEscape(out, c);
            } else {
                out.push_back(static_cast<char>(c));
            }
        }
        ++i;
    }
    return out + "\"";
}

void JsonWriter::BeforeValue() {
    if (m_afterKey) {
        m_afterKey = false;
        return;
    }
    if (!m_empty.empty()) {
        if (!m_empty.back()) {
            m_text += ',';
        }
        m_empty.back() = false;
    }
}

JsonWriter& JsonWriter::Open(char bracket) {
    BeforeValue();
    m_text += bracket;
    m_empty.push_back(true);
    return *this;
}

JsonWriter& JsonWriter::Close(char bracket) {
    m_text += bracket;
    if (!m_empty.empty()) {
        m_empty.pop_back();
    }
    return *this;
}

JsonWriter& JsonWriter::BeginObject() {
    return Open('{');
}

JsonWriter& JsonWriter::EndObject() {
    return Close('}');
}

JsonWriter& JsonWriter::BeginArray() {
    return Open('[');
}

JsonWriter& JsonWriter::EndArray() {
    return Close(']');
}

JsonWriter& JsonWriter::Key(std::string_view key) {
    BeforeValue();
    m_text += JsonQuoted(key);
    m_text += ':';
    m_afterKey = true;
    return *this;
}

JsonWriter& JsonWriter::String(std::string_view text) {
    BeforeValue();
    m_text += JsonQuoted(text);
    return *this;
}

JsonWriter& JsonWriter::Number(long long value) {
    BeforeValue();
    m_text += std::to_string(value);
    return *this;
}

JsonWriter& JsonWriter::Bool(bool value) {
    BeforeValue();
    m_text += value ? "true" : "false";
    return *this;
}

} // namespace orvane
