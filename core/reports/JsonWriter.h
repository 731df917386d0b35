#pragma once

// Builds one JSON text for scripts: objects, arrays, strings, whole numbers and booleans.

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Calls must nest as JSON does (a key before every value inside an object); the writer adds
// the commas and colons.
class CJsonWriter {
public:
    CJsonWriter& BeginObject();
    CJsonWriter& EndObject();
    CJsonWriter& BeginArray();
    CJsonWriter& EndArray();
    CJsonWriter& Key(std::string_view key);
    CJsonWriter& String(std::string_view text);
    CJsonWriter& Number(long long value);
    CJsonWriter& Bool(bool value);

    const std::string& Text() const { return m_text; }

private:
    void BeforeValue();
    CJsonWriter& Open(char bracket);
    CJsonWriter& Close(char bracket);

    std::string m_text;
    std::vector<bool> m_empty; // per open object or array: nothing in it yet
    bool m_afterKey = false;
};

// A JSON string literal. Bytes that are not UTF-8 are taken as Latin-1 characters, so any
// text a controller sends becomes valid JSON.
std::string JsonQuoted(std::string_view text);

} // namespace orvane
