#pragma once

// Builds one JSON text for scripts: objects, arrays, strings, whole numbers and booleans.

#include <string>
#include <string_view>
#include <vector>

namespace orvane {

// Calls must nest as JSON does (a key before every value inside an object); the writer adds
// the commas and colons.
class JsonWriter {
public:
    JsonWriter& BeginObject();
    JsonWriter& EndObject();
    JsonWriter& BeginArray();
    JsonWriter& EndArray();
    JsonWriter& Key(std::string_view key);
    JsonWriter& String(std::string_view text);
    JsonWriter& Number(long long value);
    JsonWriter& Bool(bool value);

    const std::string& Text() const { return m_text; }

private:
    void BeforeValue();
    JsonWriter& Open(char bracket);
    JsonWriter& Close(char bracket);

    std::string m_text;
    std::vector<bool> m_empty; // per open object or array: nothing in it yet
    bool m_afterKey = false;
};

// A JSON string literal. Bytes that are not UTF-8 are taken as Latin-1 characters, so any
// text a controller sends becomes valid JSON.
std::string JsonQuoted(std::string_view text);

} // namespace orvane
