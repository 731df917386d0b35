#include "tools/CliReports.h"

#include "core/image/Conversions.h"
#include "core/reports/JsonWriter.h"

namespace orvane::cli {

namespace {

void Words(JsonWriter& json, const std::vector<int>& registers, const RegisterImage& image) {
    json.BeginArray();
    for (const int r : registers) {
        json.String(image.Text(r));
    }
    json.EndArray();
}

} // namespace

std::string ConfigurationSummary(const RegisterImage& image, bool json) {
    const auto issue = image.Value(kIssueRegister);
    const std::string name = image.DecodeTextField(kNameField);
    const std::string description = image.DecodeTextField(kDescriptionField);
    const std::string date = image.DecodeTextField(kDateField);
    if (!json) {
        return "Name: " + name +
               "\nIssue: " + (issue ? FormatDecimal(*issue) : image.Text(kIssueRegister)) +
               "\nDescription: " + description + "\nDate: " + date +
               "\nChecksum: " + image.Text(kChecksumIndex) + "\n";
    }
    JsonWriter out;
    out.BeginObject().Key("name").String(name).Key("issue");
    if (issue) {
        out.Number(*issue);
    } else {
        out.String(image.Text(kIssueRegister));
    }
    out.Key("description").String(description).Key("date").String(date);
    out.Key("checksum").String(image.Text(kChecksumIndex)).EndObject();
    return out.Text() + "\n";
}

std::string IdentificationJson(const std::string& text) {
    JsonWriter out;
    out.BeginObject().Key("identification").String(text).EndObject();
    return out.Text() + "\n";
}

std::string DiffReport(const std::vector<FieldDifference>& differences, const RegisterImage& before,
                       const RegisterImage& after, bool json) {
    if (!json) {
        std::string lines;
        for (const FieldDifference& difference : differences) {
            lines += DescribeDifference(difference) + "\n";
        }
        return lines;
    }
    JsonWriter out;
    out.BeginObject().Key("same").Bool(differences.empty()).Key("differences").BeginArray();
    for (const FieldDifference& difference : differences) {
        const RegisterField& field = *difference.field;
        out.BeginObject().Key("register").Number(field.registers.front());
        if (field.IsBitField()) {
            out.Key("bits").Number(field.mask);
        }
        out.Key("page").String(field.page).Key("name").String(field.name);
        out.Key("old").String(difference.before).Key("new").String(difference.after);
        out.Key("registers").BeginArray();
        for (const int r : difference.registers) {
            out.Number(r);
        }
        out.EndArray().Key("oldWords");
        Words(out, difference.registers, before);
        out.Key("newWords");
        Words(out, difference.registers, after);
        out.EndObject();
    }
    out.EndArray().EndObject();
    return out.Text() + "\n";
}

} // namespace orvane::cli
